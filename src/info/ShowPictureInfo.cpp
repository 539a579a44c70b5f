// The main window's information display: the status line about the shown picture and the EXIF
// panel with the camera's text fields of the user's file.
#include "fMain.h"

#include "Exif.h"
#include "LEADImage.h"
#include "PictureInfoText.h"

#include <QPlainTextEdit>
#include <QStatusBar>

void TMainForm::ShowPictureInfo() {
    if (!ViewLEADImage->HasBitmap()) {
        StatusBar1->showMessage(QStringLiteral("Dieses Bild kann nicht angezeigt werden: Die Datei ist "
                                               "beschädigt oder kein unterstütztes Bild."));
        StatusBar1->repaint();
        return;
    }
    StatusBar1->showMessage(PictureInfoLine(ViewLEADImage->FileFormat(), ViewLEADImage->BitmapWidth(),
                                            ViewLEADImage->BitmapHeight(), ViewLEADImage->BitmapBits(),
                                            ViewLEADImage->FileCompression()));
    StatusBar1->repaint();
}

void TMainForm::ShowExif() {
    if (EXIFMemo->isHidden())
        return;
    TExif exif;
    EXIFMemo->clear();
    // A reading error goes on to the error display; the panel then stays empty.
    exif.Read(CurrentFile);
    EXIFMemo->setPlainText(ExifPanelLines(exif).join(QLatin1Char('\n')));
}

void TMainForm::EXIF1Click() {
    EXIFMemo->setVisible(EXIFMemo->isHidden());
    if (EXIFMemo->isHidden())
        return;
    EXIFMemo->setPlainText(
        QStringLiteral("EXIF sind Daten welche Ihre Digitalkamera in den Bildern speichert.\n"
                       "Je nach Kamera kann dies z.B. Kameratyp, Aufnahmedatum, Blende etc. sein.\n"
                       "\n"
                       "Die EXIF des angeklicken Bildes werden in diesem Fenster angezeigt."));
}
