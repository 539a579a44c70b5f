// Opening pictures into the series: the open commands, the series copies in the temp folder, the
// thumbnails and their list entries, selecting an entry and showing its picture.
#include "fMain.h"

#include "BusyCursor.h"
#include "Codecs.h"
#include "FolderEntries.h"
#include "HTMListBox.h"
#include "LEADImage.h"
#include "OperationsPanel.h"
#include "Prompts.h"
#include "ReducedDecoder.h"
#include "SeriesNames.h"
#include "Thumbnail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>

using namespace SeriesNames;

namespace {

// Upper- and lower-case patterns, since the file dialog matches case-sensitively here.
const QString kOpenFilter = QStringLiteral(
    "Alle Bilddateien (*.jpg *.jpeg *.bmp *.tif *.tiff *.gif *.JPG *.JPEG *.BMP *.TIF *.TIFF *.GIF)");

bool Contains(const QString& text, const char* part) {
    return text.contains(QLatin1String(part), Qt::CaseInsensitive);
}

// JPEG sources are copied byte for byte; a lone ".JPEG" picture too, under its copy name.
bool IsByteCopy(const QString& entry, bool singlePicture) {
    return Contains(entry, ".JPEG") ? singlePicture : Contains(entry, ".JPG");
}

// A byte copy that replaces the target; the copy is made writable for its owner, since edits
// are written over it later.
void CopyReplacing(const QString& source, const QString& target) {
    // The library's copy stays inside the kernel, where Qt's passes every byte through a buffer.
    std::error_code failed;
    std::filesystem::copy_file(QFile::encodeName(source).toStdString(),
                               QFile::encodeName(target).toStdString(),
                               std::filesystem::copy_options::overwrite_existing, failed);
    if (failed)
        throw std::runtime_error(
            QStringLiteral("Die Datei \"%1\" kann nicht in den Arbeitsordner kopiert werden.")
                .arg(QDir::toNativeSeparators(source))
                .toStdString());
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
}

} // namespace

void TMainForm::ConnectSeries() {
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(200);
    // One shot: an error in the display step reaches the error display once and never repeats.
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &TMainForm::Timer2Timer);
    connect(FileListBox, &THTMListBox::OnClick, this, &TMainForm::FileListBoxClick);
    connect(OpenSpeedButton, &QToolButton::clicked, this, &TMainForm::OpenSpeedButtonClick);
    connect(OpenOneSpeedButton, &QToolButton::clicked, this, &TMainForm::OpenOneSpeedButtonClick);
    connect(Bilderserieffnen1, &QAction::triggered, this, &TMainForm::OpenSpeedButtonClick);
    connect(NureinBildffnen1, &QAction::triggered, this, &TMainForm::OpenOneSpeedButtonClick);
}

void TMainForm::SetUpThumbnailFrame() {
    // A silver line, a white raised band inside it and a light grey drop shadow, drawn over the
    // picture itself (transparent background).
    TLEADImage& thumb = *ThumbLEADImage;
    thumb.ShapeBorderColor = QColor(192, 192, 192);
    thumb.ShapeBorderStyle = sbrSolid;
    thumb.ShapeBorderThickness = 1;
    thumb.ShapeInnerBandStyle = sibRaised;
    thumb.ShapeInnerBandThickness = 5;
    thumb.ShapeInnerBandHiliteColor = Qt::white;
    thumb.ShapeInnerBandShadowColor = Qt::white;
    thumb.ShapeOuterBandStyle = sobNone;
    thumb.ShapeOuterBandHiliteColor = Qt::blue;
    thumb.ShapeOuterBandShadowColor = Qt::blue;
    thumb.ShapeOuterBandThickness = 5;
    thumb.ShapeBackgroundStyle = sbsTransparent;
    thumb.ShadowColor = QColor(234, 234, 234);
    thumb.ShadowXDepth = 2;
    thumb.ShadowYDepth = 2;
    thumb.PatternStyle = epsTransparent;
}

QString TMainForm::ChooseSourceFile(const QString& caption, const QString& folderMessage) {
    OfferSave();
    Prompts::FileRequest request;
    request.caption = caption;
    request.folder = OpenDialogFolder;
    request.filter = kOpenFilter;
    const QStringList chosen = prompts.OpenFiles(this, request);
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return QString();
    const QString file = chosen.first();
    // The program's own folders hold edited copies; comparing the real folders also catches a
    // way there through a link.
    const QString folder = QFileInfo(FolderOf(file)).canonicalFilePath();
    for (const QString& own : {ProgramFolder, TempFolder}) {
        if (!folder.isEmpty() && folder == QFileInfo(own).canonicalFilePath()) {
            prompts.Message(Prompts::Kind::Information, folderMessage, windowTitle());
            return QString();
        }
    }
    OpenDialogFolder = FolderOf(file);
    return file;
}

void TMainForm::OpenSpeedButtonClick() {
    const QString file = ChooseSourceFile(
        QStringLiteral("Bilderserie öffnen"),
        QStringLiteral(
            "Dies ist der Ordner für bearbeitete Bilder. Sie können keine berabeiteten Bilder nochmals "
            "zum Bearbeiten öffnen! Bitte wählen Sie einen anderen Ordner!"));
    if (file.isEmpty())
        return;
    Changed = false;
    PicProgressBar->show();
    SourceFolder = WithBackslash(FolderOf(file));
    try {
        OpenSeries();
    } catch (...) {
        // The earlier series copies are gone: leave no command working on them, then let the
        // error reach the error display.
        PicProgressBar->hide();
        ShowEmptySeries();
        throw;
    }
    PicProgressBar->hide();
    if (FileListBox->Count() == 0) {
        ShowNoPicturesFound();
        return;
    }
    EnablePictureCommands(true);
}

void TMainForm::OpenOneSpeedButtonClick() {
    const QString file = ChooseSourceFile(
        QStringLiteral("Bild öffnen"),
        QStringLiteral(
            "Dies ist der Ordner für bearbeitete Bilder. Sie können keine berabeiteten Bilder nochmals "
            "zum bearbeiten öffnen! Bitte wählen Sie einen anderen Ordner!"));
    if (file.isEmpty())
        return;
    PicProgressBar->show();
    SourceFolder = WithBackslash(FolderOf(file));
    FileListBox->Clear();
    try {
        OpenOne(FileNamePart(file));
    } catch (...) {
        PicProgressBar->hide();
        ShowEmptySeries();
        throw;
    }
    SaveSpeedButton->setText(QStringLiteral("Bild speichern"));
    Bilderspeichern1->setText(QStringLiteral("Bild speichern"));
    PicProgressBar->hide();
    Changed = false;
    if (FileListBox->Count() == 0) {
        ShowNoPicturesFound();
        return;
    }
    EnablePictureCommands(true);
    Save_All_SpeedButton->setEnabled(false);
}

void TMainForm::EnablePictureCommands(bool on) {
    EffectsPanel->setEnabled(on);
    EffectsPanel->EffectsPanelEnter();
    for (QToolButton* button : {SaveSpeedButton, Save_All_SpeedButton, PrintSpeedButton})
        button->setEnabled(on);
    Bilderspeichern1->setEnabled(on);
    Bilderdrucken1->setEnabled(on);
    for (QMenu* menu :
         {Rotation1, Bildmanipulation1, Bildeffekte1, RoteAugenentfernen1, Stapelbearbeitung1, EXIF1})
        menu->setEnabled(on);
}

void TMainForm::ShowEmptySeries() {
    Timer2->stop();
    FirstPicture.reset();
    ViewLEADImage->SetBitmap(TBitmap());
    ViewLEADImage->RepaintPicture();
    ShownFileStale = false;
    ShownFile.clear();
    SelectedEntry.clear();
    CurrentFile.clear();
    StatusBar1->clearMessage();
    EnablePictureCommands(false);
}

void TMainForm::ShowNoPicturesFound() {
    ShowEmptySeries();
    prompts.Message(Prompts::Kind::Information,
                    QStringLiteral("Im gewählten Ordner wurden keine Bilder gefunden."), windowTitle());
}

void TMainForm::ShowProgress(const QString& text, int percent) {
    StatusBar1->showMessage(text);
    PicProgressBar->setValue(percent);
    StatusBar1->repaint();
    PicProgressBar->repaint();
}

void TMainForm::OpenSeries() {
    repaint();
    const TBusyCursor busy;
    FileListBox->Clear();
    DeleteFiles(TempFolder + QLatin1Char('*'));
    const QStringList entries = FolderEntries(SourceFolder);
    FileTotal = int(entries.size());
    FillSeries(entries, false);
}

void TMainForm::OpenOne(const QString& name) {
    repaint();
    const TBusyCursor busy;
    FileListBox->Clear();
    DeleteFiles(TempFolder + QLatin1Char('*'));
    FileTotal = 0;
    FillSeries(QFileInfo(SourceFolder + name).exists() ? QStringList{name} : QStringList(), true);
}

void TMainForm::FillSeries(const QStringList& entries, bool singlePicture) {
    // The series copies that copying will leave, in the order the temp folder will list them;
    // the byte copies hold their source's bytes, so their decodes can start from the source now.
    std::map<QString, QString> planned;
    for (const QString& entry : entries) {
        const QString copy = CopyName(entry, singlePicture);
        if (copy.isEmpty() || !QFileInfo(SourceFolder + entry).isFile())
            continue;
        planned[copy] = IsByteCopy(entry, singlePicture) ? SourceFolder + entry : QString();
    }
    QStringList names;
    for (const auto& [copy, source] : planned)
        names.append(copy);
    SortNaturally(names);
    std::vector<TReducedDecoder::Job> jobs;
    const Raster::ShapeSettings frame = ThumbLEADImage->ShapeSettings();
    const auto makeThumbnail = [frame](const Codecs::LoadedPicture& picture) {
        return Thumbnail::Framed(picture.image, QSize(picture.info.width, picture.info.height),
                                 kThumbnailHeight, frame);
    };
    for (const QString& copy : names)
        if (!planned[copy].isEmpty())
            jobs.push_back({copy, planned[copy], QSize(1, kThumbnailHeight), makeThumbnail});
    TReducedDecoder decoder(std::move(jobs));
    FirstPicture.reset();
    if (!names.isEmpty() && !planned[names.first()].isEmpty()) {
        FirstPictureName = names.first();
        FirstPicture = std::make_unique<TReducedDecoder>(std::vector<TReducedDecoder::Job>{
            {FirstPictureName, planned[FirstPictureName], QSize(), nullptr}});
    }
    CopyIntoSeries(entries, singlePicture);
    ListSeries(decoder);
}

void TMainForm::CopyIntoSeries(const QStringList& entries, bool singlePicture) {
    FileDone = 0;
    int percent = 0;
    for (const QString& entry : entries) {
        if (!singlePicture) {
            if (FileTotal != 0)
                percent = ProgressPercent(FileDone, FileTotal);
            ShowProgress(
                QStringLiteral("Dateien werden geöffnet: %1%   %2   Bitte warten...").arg(percent).arg(entry),
                percent);
        }
        ++FileDone;
        const QString source = SourceFolder + entry;
        const QString copy = CopyName(entry, singlePicture);
        // Folders named like pictures are not pictures.
        if (copy.isEmpty() || !QFileInfo(source).isFile())
            continue;
        if (IsByteCopy(entry, singlePicture)) {
            CopyReplacing(source, TempFolder + copy);
        } else {
            try {
                ViewLEADImage->Load(source);
                ViewLEADImage->Save(TempFolder + copy, Codecs::kFormatJpeg422, 24, 2);
            } catch (const ELeadImageError& error) {
                throw ELeadImageError(QStringLiteral("Das Bild \"%1\" kann nicht geöffnet werden.\n\n%2")
                                          .arg(QDir::toNativeSeparators(source), error.Message()));
            }
            // The view now holds this source, not the picture last shown.
            ShownFileStale = true;
        }
    }
}

void TMainForm::ListSeries(TReducedDecoder& decoder) {
    const TBusyCursor busy;
    QStringList copies;
    for (const QString& name : FolderEntries(TempFolder))
        if (Contains(name, ".JPG") && QFileInfo(TempFolder + name).isFile())
            copies.append(name);
    FileDone = 0;
    for (const QString& copy : copies) {
        // Of the window only the list and the view change from one picture to the next; they are
        // painted with the progress text at once, in one pass.
        FileListBox->viewport()->update();
        ViewLEADImage->update();
        CurrentFile = TempFolder + copy;
        ++FileDone;
        // A copy without a prepared decode (a conversion) is read here, as a lone picture is.
        const std::optional<TPreparedPicture> prepared = decoder.Take(copy);
        AddOrRefreshEntry(false, prepared ? &*prepared : nullptr);
        FileListBox->SetSelected(FileDone - 1, true);
    }
    if (FileListBox->Count() == 0)
        return;
    FileListBox->SetItemIndex(0);
    FileListBoxClick();
    SelectOnly(0);
}

void TMainForm::AddEntry() {
    AddOrRefreshEntry(false, nullptr);
}

void TMainForm::RefreshEntry() {
    AddOrRefreshEntry(true, nullptr);
}

void TMainForm::AddOrRefreshEntry(bool refresh, const TPreparedPicture* prepared) {
    const QString copy = FileNamePart(CurrentFile);
    const QString base = ThumbFolder + QStringLiteral("_THUMB_");
    int number = 1;
    while (QFileInfo::exists(base + QString::number(number) + copy))
        ++number;
    MakeThumbnailFrom(TempFolder + copy, kThumbnailHeight, true, prepared);
    const QString numbered = base + QString::number(number) + copy;
    QFile::remove(numbered);
    QFile::copy(base + copy, numbered);
    const QString entry = EntryText(ThumbFolder, number, copy);
    if (refresh) {
        const int index = FileListBox->ItemIndex();
        FileListBox->DeleteItem(index);
        FileListBox->InsertItem(index, entry);
        // Taking the entry out moved the focus; the renewed entry is the current one again.
        FileListBox->SetItemIndex(index);
        SelectOnly(index);
    } else {
        FileListBox->AddItem(entry);
    }
    ShowPictureFrom(CurrentFile, true,
                    prepared && !prepared->picture.image.isNull() ? &prepared->picture : nullptr);
}

void TMainForm::MakeThumbnail(const QString& file, int height, bool force) {
    MakeThumbnailFrom(file, height, force, nullptr);
}

void TMainForm::MakeThumbnailFrom(const QString& file, int height, bool force,
                                  const TPreparedPicture* prepared) {
    const QString target = ThumbFolder + QStringLiteral("_THUMB_") + FileNamePart(file);
    if (!force && QFileInfo::exists(target))
        return;
    const int percent = ProgressPercent(FileDone, FileTotal);
    ShowProgress(
        QStringLiteral("Vorschaubilder (Thumbnails) werden erzeugt! %1 %  Bitte warten...").arg(percent),
        percent);
    const TBusyCursor busy;
    TLEADImage& thumb = *ThumbLEADImage;
    // A thumbnail that cannot be made leaves its entry without a picture; nothing else depends on it.
    try {
        QImage thumbnail = prepared ? prepared->made : QImage();
        if (thumbnail.isNull()) {
            thumb.LoadReduced(file, 1, height);
            thumbnail =
                Thumbnail::Framed(thumb.Bitmap().Pixels, thumb.FileSize(), height, thumb.ShapeSettings());
        }
        thumb.SetBitmap(thumbnail);
        thumb.Save(target, Codecs::kFormatJpeg422, 24, 2);
    } catch (const ELeadImageError&) {
    }
}

void TMainForm::SelectOnly(int index) {
    const int count = FileListBox->Count();
    for (int i = 0; i < count; ++i)
        FileListBox->SetSelected(i, false);
    if (count == 0)
        return;
    FileListBox->SetSelected(index < 0 || index >= count ? count - 1 : index, true);
}

void TMainForm::FileListBoxClick() {
    const int index = FileListBox->ItemIndex();
    if (index < 0)
        return;
    SelectedEntry = FileListBox->ItemText(index);
    CurrentFile = SourceFolder + EntryFileName(SelectedEntry);
    // Clicks within the 200 ms do not restart the timer: the step then shows the entry chosen last.
    if (!Timer2->isActive())
        Timer2->start();
    UndoCounter = 0;
    EffectsPanel->Picture(QStringLiteral("UndoImage"))->setEnabled(false);
    UpdateUndoPicture();
    Bearbeitungrckgnig1->setEnabled(false);
}

void TMainForm::Timer2Timer() {
    Timer2->stop();
    ShowPicture(TempFolder + FileNamePart(SelectedEntry), false);
    ShowExif();
    ShowPictureInfo();
}

void TMainForm::ShowPicture(const QString& name, bool force) {
    ShowPictureFrom(name, force, nullptr);
}

void TMainForm::ShowPictureFrom(const QString& name, bool force, const Codecs::LoadedPicture* preview) {
    const QString copy = ShownCopyName(name);
    if (!force && copy == ShownFile && !ShownFileStale)
        return;
    ShownFile = copy;
    // The reduced decode stands in for a picture taller than the view, which is fitted anyway;
    // a smaller one is shown at its own size, so it is read in full.
    if (preview && preview->image.height() < preview->info.height &&
        ViewLEADImage->height() >= preview->info.height)
        preview = nullptr;
    if (preview) {
        // The reduced decode passes by while the list fills: fitted, and painted at the next
        // picture's repaint. The zoom strip waits for the real picture.
        ViewLEADImage->LoadFrom(*preview);
        ViewLEADImage->SetPaintSizeMode(smFit);
        ViewLEADImage->show();
        ShownFileStale = true;
        return;
    }
    std::optional<TPreparedPicture> prepared;
    if (FirstPicture && FirstPictureName == copy)
        prepared = FirstPicture->Take(copy);
    FirstPicture.reset();
    // A picture that cannot be shown leaves the view with its previous one.
    try {
        if (prepared)
            ViewLEADImage->LoadFrom(prepared->picture);
        else
            ViewLEADImage->Load(TempFolder + copy);
        ShownFileStale = false;
        ViewLEADImage->SetPaintSizeMode(ViewLEADImage->height() < ViewLEADImage->BitmapHeight() ? smFit
                                                                                                : smNormal);
        // No paint at the fitted zoom: the zoom strip below paints at once at one percent less,
        // and a camera picture would otherwise be scaled down twice.
        ViewLEADImage->show();
    } catch (const ELeadImageError&) {
        // Not shown, and not left showing the picture before either: an edit would otherwise
        // store that other picture under this one's name.
        ViewLEADImage->SetBitmap(TBitmap());
        ViewLEADImage->RepaintPicture();
        ShownFileStale = false;
        return;
    }
    {
        const QSignalBlocker quiet(ZoomTrackBar);
        ZoomTrackBar->setValue(ViewLEADImage->PaintZoomFactor() - 1);
    }
    ZoomTrackBarChange();
}
