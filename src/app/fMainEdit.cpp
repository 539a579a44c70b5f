// The edit cycle every change of the current picture follows: the working copy, undo copies,
// committing to the series copy, and the undo that walks the cycle back.
#include "fMain.h"

#include "BusyCursor.h"
#include "HTMListBox.h"
#include "LEADImage.h"
#include "OperationsPanel.h"
#include "ReducedDecoder.h"
#include "SeriesNames.h"
#include "Thumbnail.h"

#include <QAction>
#include <QFile>
#include <QPushButton>

#include <filesystem>

using namespace SeriesNames;

namespace {

// Replaces target by a byte copy of source; a failure leaves target as it was. Not reported:
// the load that follows reads whatever the target then holds.
void CopyOver(const QString& source, const QString& target) {
    std::error_code failed;
    std::filesystem::copy_file(QFile::encodeName(source).toStdString(),
                               QFile::encodeName(target).toStdString(),
                               std::filesystem::copy_options::overwrite_existing, failed);
}

} // namespace

void TMainForm::ConnectEditing() {
    TOperationPicture* undo = EffectsPanel->Picture(QStringLiteral("UndoImage"));
    EnabledPic = undo->Look(true);
    DisabledPic = undo->Look(false);
    connect(undo, &TOperationPicture::Clicked, this, &TMainForm::UndoImageClick);
    connect(Bearbeitungrckgnig1, &QAction::triggered, this, &TMainForm::UndoImageClick);
    connect(RedeyeUndoBitBtn, &QPushButton::clicked, this, &TMainForm::UndoImageClick);

    const struct {
        const char* picture;
        const char* menuItem;
        const char* code;
    } rotations[] = {
        {"Image3", "Bildnachlinksdrehen1", "-90"},
        {"Image4", "Bildnachrechtsdrehen1", "90"},
        {"Image5", "Bildumdrehen1", "180"},
        {"Image6", "Bildvertikalspiegeln1", "FlipV"},
        {"Image7", "Bildhorizontalspiegeln1", "FlipH"},
    };
    for (const auto& rotation : rotations) {
        const QString code = QString::fromLatin1(rotation.code);
        connect(EffectsPanel->Picture(QString::fromLatin1(rotation.picture)), &TOperationPicture::Clicked,
                this, [this, code] { RotateFlip(code); });
        // From the menu the operations panel comes back first, also over an open crop or red-eye panel.
        connect(findChild<QAction*>(QString::fromLatin1(rotation.menuItem)), &QAction::triggered, this,
                [this, code] {
                    RedeyePanel->hide();
                    ZuschneidenPanel->hide();
                    EffectsPanel->show();
                    RotateFlip(code);
                });
    }
}

void TMainForm::WriteView(const QString& file) {
    // The same picture goes to the working copy and to the undo copy: encode it once.
    const qint64 key = ViewLEADImage->Bitmap().Pixels.cacheKey();
    if (WrittenBytes.isEmpty() || key != WrittenKey) {
        WrittenBytes = ViewLEADImage->Encode(Codecs::kFormatJpeg422, 24, 4);
        WrittenKey = key;
    }
    ViewLEADImage->SaveEncoded(file, WrittenBytes);
}

void TMainForm::CancelRegion() {
    ViewLEADImage->SetAutoFloater(false);
    ViewLEADImage->SetRgnFrameType(kFrameNone);
    SavedFrameType = ViewLEADImage->RgnFrameType();
    ViewLEADImage->setCursor(Qt::CrossCursor);
}

void TMainForm::PushUndo() {
    ++UndoCounter;
    TOperationPicture* undo = EffectsPanel->Picture(QStringLiteral("UndoImage"));
    undo->setEnabled(true);
    Bearbeitungrckgnig1->setEnabled(true);
    RedeyeUndoBitBtn->setEnabled(true);
    UpdateUndoPicture();
    WriteView(ProgramFolder + QStringLiteral("UNDO_%1.jpg").arg(UndoCounter));
}

void TMainForm::UpdateUndoPicture() {
    TOperationPicture* undo = EffectsPanel->Picture(QStringLiteral("UndoImage"));
    undo->SetPicture(undo->isEnabled() ? EnabledPic : DisabledPic);
}

void TMainForm::CommitEdit() {
    Changed = true;
    // CurrentFile is the user's file or already the series copy; either way this is the copy.
    CurrentFile = TempFolder + FileNamePart(SeriesCopyOf(FileNamePart(CurrentFile)));
    CopyOver(WorkingCopy(), CurrentFile);
    // The thumbnail comes from the pixels in the view; the view itself is read back from the
    // series copy, so it shows the picture as stored.
    TPreparedPicture edited;
    edited.made = Thumbnail::Framed(ViewLEADImage->Bitmap().Pixels, QSize(), kThumbnailHeight,
                                    ThumbLEADImage->ShapeSettings());
    AddOrRefreshEntry(true, &edited);
    ViewLEADImage->SetAutoFloater(false);
    ViewLEADImage->SetRgnFrameType(kFrameNone);
    SavedFrameType = 0;
    ViewLEADImage->setCursor(Qt::CrossCursor);
}

void TMainForm::UndoImageClick() {
    // Below one there is nothing to restore, and the counter stays as it is: raising it would
    // later restore an undo copy of a picture selected before.
    if (UndoCounter < 1)
        return;
    const TBusyCursor busy;
    const HRGN marked = ViewLEADImage->GetRgnHandle();
    CopyOver(ProgramFolder + QStringLiteral("UNDO_%1.jpg").arg(UndoCounter), WorkingCopy());
    try {
        ViewLEADImage->Load(WorkingCopy());
        CommitEdit();
    } catch (const ELeadImageError&) {
        // The restored picture could not be read back; the step is undone all the same.
    }
    --UndoCounter;
    TOperationPicture* undo = EffectsPanel->Picture(QStringLiteral("UndoImage"));
    if (UndoCounter < 1)
        undo->setEnabled(false);
    RedeyeUndoBitBtn->setEnabled(undo->isEnabled());
    Bearbeitungrckgnig1->setEnabled(undo->isEnabled());
    UpdateUndoPicture();
    ViewLEADImage->SetAutoFloater(false);
    ViewLEADImage->SetRgnFrameType(kFrameAnimated);
    SavedFrameType = ViewLEADImage->RgnFrameType();
    ViewLEADImage->setCursor(Qt::CrossCursor);
    EndFloater();
    if (RedEyeMode) {
        // The eyes stay marked and the view keeps its panned position.
        SavedMarkingTool = mtEllipse;
        ViewLEADImage->SetMarkingTool(mtEllipse);
        ViewLEADImage->SetRgnFrameType(kFrameAnimated);
        ViewLEADImage->setCursor(Qt::CrossCursor);
        ViewLEADImage->SetRgnHandle(marked, 0, 0, 1);
        const QRect display = ViewLEADImage->DisplayRect().translated(PanDeltaX, PanDeltaY);
        const QRect clip = ViewLEADImage->DisplayClipRect().translated(PanDeltaX, PanDeltaY);
        ViewLEADImage->SetDisplayRect(display.left(), display.top(), display.width(), display.height());
        ViewLEADImage->SetDisplayClipRect(clip.left(), clip.top(), clip.width(), clip.height());
        ViewLEADImage->RepaintPicture();
        if (PanRect.left() != 0 || PanRect.top() != 0) {
            ViewLEADImage->SetDisplayRect(PanRect.left(), PanRect.top(), PanRect.width(), PanRect.height());
            ViewLEADImage->SetDisplayClipRect(PanClipRect.left(), PanClipRect.top(), PanClipRect.width(),
                                              PanClipRect.height());
            ViewLEADImage->RepaintPicture();
        }
    }
    TLEADImage::DeleteRgnHandle(marked);
}

void TMainForm::EndFloater() {
    if (ViewLEADImage->HasFloater()) {
        ViewLEADImage->SetAutoRepaint(false);
        ViewLEADImage->Combine(ViewLEADImage->RgnLeft(), ViewLEADImage->RgnTop(), ViewLEADImage->RgnWidth(),
                               ViewLEADImage->RgnHeight(), ViewLEADImage->Floater(), 0, 0, 800);
        ViewLEADImage->SetFloater(TBitmap());
        ViewLEADImage->FreeRgn();
        ViewLEADImage->SetAutoRepaint(true);
    }
    ViewLEADImage->SetRgnFrameType(SavedFrameType);
    ViewLEADImage->SetMarkingTool(TMarkingTool(SavedMarkingTool));
}

void TMainForm::BackToOperationsPanel() {
    // As the red-eye panel's way back: its removals become the committed state first.
    const bool redEyeWasOpen = !RedeyePanel->isHidden();
    RedeyePanel->hide();
    ZuschneidenPanel->hide();
    EffectsPanel->show();
    if (redEyeWasOpen && RedEyeMode)
        CommitEdit();
    ViewLEADImage->SetAutoFloater(false);
    ViewLEADImage->SetMarkingTool(mtNone);
    ViewLEADImage->SetRgnFrameType(kFrameNone);
    RedEyeMode = false;
    ViewLEADImage->setCursor(Qt::CrossCursor);
}
