// Turning and mirroring the current picture: one step of the edit cycle per click.
#include "fMain.h"

#include "BusyCursor.h"
#include "LEADImage.h"
#include "Prompts.h"

void TMainForm::RotateFlip(const QString& code) {
    // A picture that could not be shown cannot be turned.
    if (!ViewLEADImage->HasBitmap()) {
        prompts.Message(Prompts::Kind::Warning, QStringLiteral("Es ist kein Bild zum Bearbeiten geladen."),
                        windowTitle());
        return;
    }
    const TBusyCursor busy;
    ZuschneidenPanel->hide();
    WriteView(WorkingCopy());
    try {
        PushUndo();
        // Angles clockwise in hundredths of a degree; the picture grows to hold the turned one.
        if (code == QLatin1String("90"))
            ViewLEADImage->Rotate(9000, 1, Qt::white);
        else if (code == QLatin1String("-90"))
            ViewLEADImage->Rotate(27000, 1, Qt::white);
        else if (code == QLatin1String("180"))
            ViewLEADImage->Rotate(18000, 1, Qt::white);
        else if (code == QLatin1String("FlipH"))
            ViewLEADImage->Flip();
        else if (code == QLatin1String("FlipV"))
            ViewLEADImage->Reverse();
    } catch (const ELeadImageError&) {
        prompts.Message(Prompts::Kind::Error,
                        QStringLiteral("An error occured in your application LeadImage2"),
                        QStringLiteral("Error"));
        return;
    }
    WriteView(WorkingCopy());
    CommitEdit();
}
