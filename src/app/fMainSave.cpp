// Saving the current picture or the whole series, and the save offer before work would be lost.
// Pictures go back in their source format; TIFF, GIF and BMP are converted on the hidden
// LEADImage1, so the view keeps showing the current picture.
#include "BusyCursor.h"
#include "Codecs.h"
#include "FolderEntries.h"
#include "LEADImage.h"
#include "LeadImageError.h"
#include "SaveFormats.h"
#include "SeriesNames.h"
#include "fMain.h"
#include "fWizardSave.h"
#include "fWizardSave2.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

using SeriesNames::DisplayName;
using SeriesNames::FolderOf;
using SeriesNames::WithBackslash;

namespace {

const QString kPictureFilter = QStringLiteral(
    "Alle Bilddateien (*.jpg *.jpeg *.bmp *.tif *.tiff *.gif *.JPG *.JPEG *.BMP *.TIF *.TIFF *.GIF)");

// Lists so many failures at most; a series written into a read-only folder fails for every picture.
constexpr int kListedFailures = 10;

QString ReplaceQuestion(const QString& target) {
    return QStringLiteral("Bild ") + target + QStringLiteral(" exitiert bereits.") + QLatin1Char('\r') +
           QStringLiteral("Möchten Sie es ersetzen?");
}

QString FailureText(const QString& target, const QString& reason) {
    return QStringLiteral("Das Bild \"%1\" konnte nicht gespeichert werden.\n%2")
        .arg(target, reason.trimmed());
}

// The series copy's bytes, written safely (through a temporary file that then replaces the
// target). Returns the reason of a failure, or nothing.
QString CopyBytes(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return in.errorString();
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return in.errorString();
    try {
        Codecs::WriteFile(target, data);
    } catch (const Codecs::CodecError& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

// Writes target from the series copy as the table says. Returns the reason of a failure, or
// nothing. The engine writes its files safely itself.
QString WriteFromCopy(TLEADImage& converter, const QString& source, const QString& target,
                      const SaveFormats::Output& output) {
    const TBusyCursor busy;
    if (output.byteCopy)
        return CopyBytes(source, target);
    try {
        converter.Load(source);
        converter.Save(target, output.format, output.bits, output.qualityFactor);
    } catch (const ELeadImageError& error) {
        return error.Message();
    }
    return QString();
}

} // namespace

void TMainForm::ConnectSaving() {
    SaveWizzard = new TSaveWizzard(ProgramFolder, this);
    SaveWizzard2 = new TSaveWizzard2(ProgramFolder, this);
    connect(SaveWizzard2, &TSaveWizzard2::AskBeforeReplaceChanged, this,
            [this](bool ask) { AskBeforeReplace = ask; });

    SaveDialog2.caption = QStringLiteral("Alle Bilder in einen Ordner speichern");
    SaveDialog2.fileName =
        QStringLiteral("Bitte wählen Sie einen Ordner in welchen alle Bilder gespeichert werden!");
    SaveDialog2.filter = QStringLiteral("ORDNER (*.Ordner)");
    SaveDialog2.defaultSuffix = QStringLiteral("jpg");

    connect(SaveSpeedButton, &QToolButton::clicked, this, &TMainForm::SaveSpeedButtonClick);
    connect(Bilderspeichern1, &QAction::triggered, this, &TMainForm::SaveSpeedButtonClick);
    connect(Save_All_SpeedButton, &QToolButton::clicked, this, &TMainForm::Save_All_SpeedButtonClick);
}

void TMainForm::OfferSave() {
    // The opening or closing that asked goes on whatever the answer.
    if (Changed && prompts.ShowModal(SaveWizzard) == QDialog::Accepted)
        SaveSeries();
}

void TMainForm::SaveSpeedButtonClick() {
    SaveCurrent();
}

void TMainForm::Save_All_SpeedButtonClick() {
    SaveSeries();
}

void TMainForm::SaveCurrent() {
    SaveDialog2.caption = QStringLiteral("Bild speichern");
    BackToOperationsPanel();

    const QString copyName = SeriesNames::ShownCopyName(CurrentFile);
    SaveDialog2.fileName = WithBackslash(FolderOf(SaveDialog2.fileName)) + DisplayName(copyName);
    SaveDialog2.filter = kPictureFilter;
    SaveDialog2.defaultSuffix = QStringLiteral("jpg");
    const QString target = prompts.SaveFile(this, SaveDialog2);
    if (target.isEmpty())
        return;
    // The next dialog starts in the folder chosen now.
    SaveDialog2.fileName = target;
    SaveDialog2.folder = FolderOf(target);

    // What cannot be written is said before the user is asked to replace anything.
    const QString source = TempFolder + copyName;
    if (!QFileInfo(source).isFile()) {
        prompts.Message(
            Prompts::Kind::Warning,
            QStringLiteral("Das Bild \"%1\" wurde nicht gespeichert: Seine bearbeitete Kopie \"%2\" "
                           "fehlt im Ordner für bearbeitete Bilder.")
                .arg(target, source),
            windowTitle());
        return;
    }
    const std::optional<SaveFormats::Output> output =
        SaveFormats::ForTarget(SeriesNames::FileNamePart(target));
    if (!output) {
        prompts.Message(
            Prompts::Kind::Warning,
            QStringLiteral("Das Bild \"%1\" wurde nicht gespeichert: Bitte wählen Sie einen Namen mit "
                           "der Endung .jpg, .jpeg, .tif, .tiff, .bmp oder .gif.")
                .arg(target),
            windowTitle());
        return;
    }

    if (QFileInfo::exists(target)) {
        SaveWizzard2->SetAskForAllVisible(false);
        SaveWizzard2->SetInfo(ReplaceQuestion(target));
        if (prompts.ShowModal(SaveWizzard2) != QDialog::Accepted)
            return;
    }

    const QString failure = WriteFromCopy(*LEADImage1, source, target, *output);
    if (!failure.isEmpty()) {
        prompts.Message(Prompts::Kind::Error, FailureText(target, failure), windowTitle());
        return;
    }
    Changed = false;
    prompts.Message(Prompts::Kind::Information, QStringLiteral("Bild wurde gespeichert!"), windowTitle());
}

void TMainForm::SaveSeries() {
    SaveDialog2.caption = QStringLiteral("Alle Bilder in einen Ordner speichern");
    SaveDialog2.fileName =
        QStringLiteral("Bitte wählen Sie den Ordner in welchen die Bilder gespeichert werden!");
    SaveDialog2.filter = kPictureFilter;
    SaveDialog2.defaultSuffix = QStringLiteral("jpg");
    const QString chosen = prompts.SaveFile(this, SaveDialog2);
    if (chosen.isEmpty())
        return;
    SaveDialog2.fileName = chosen;
    SaveDialog2.folder = FolderOf(chosen);
    // Only the folder of the chosen name is used.
    const QString folder = WithBackslash(FolderOf(chosen));

    repaint();
    AskBeforeReplace = true;
    const QStringList entries = FolderEntries(TempFolder);
    FileTotal = int(entries.size());
    FileDone = 0;

    int attempted = 0;
    QStringList failures;
    for (const QString& entry : entries) {
        const QString name = DisplayName(entry);
        const QString target = folder + name;
        // "." and ".." name folders, never a picture to replace.
        if (entry.startsWith(QLatin1Char('.'))) {
            repaint();
            continue;
        }
        if (AskBeforeReplace && QFileInfo::exists(target)) {
            SaveWizzard2->SetAskForAllVisible(true);
            SaveWizzard2->SetInfo(ReplaceQuestion(target));
            if (prompts.ShowModal(SaveWizzard2) != QDialog::Accepted)
                continue;
        }
        repaint();

        PicProgressBar->show();
        ++FileDone;
        const int percent = SeriesNames::ProgressPercent(FileDone, FileTotal);
        ShowProgress(QStringLiteral("Datei speichern: %1  %2 %  Bitte warten...").arg(name).arg(percent),
                     percent);

        // Entries that are no series copies are not written.
        const std::optional<SaveFormats::Output> output = SaveFormats::ForSeriesCopy(entry);
        if (!output)
            continue;
        ++attempted;
        // A failed picture is reported at the end; the others are still written.
        const QString failure = WriteFromCopy(*LEADImage1, TempFolder + entry, target, *output);
        if (!failure.isEmpty())
            failures.append(FailureText(target, failure));
    }

    if (failures.isEmpty()) {
        Changed = false;
        prompts.Message(Prompts::Kind::Information, QStringLiteral("Alle Bilder wurde gespeichert!"),
                        windowTitle());
    } else {
        QString text = QStringLiteral("%1 von %2 Bildern konnten nicht gespeichert werden:\n\n")
                           .arg(failures.size())
                           .arg(attempted);
        text += failures.mid(0, kListedFailures).join(QStringLiteral("\n\n"));
        if (failures.size() > kListedFailures)
            text += QStringLiteral("\n\n... und %1 weitere.").arg(failures.size() - kListedFailures);
        prompts.Message(Prompts::Kind::Error, text, windowTitle());
    }
    FileTotal = 0;
    FileDone = 0;
    PicProgressBar->hide();
    StatusBar1->clearMessage();
    StatusBar1->repaint();
}
