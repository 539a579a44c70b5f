// TMainForm: the main window. Its fields are the workspace state of the program; its controls
// keep the names of the design, so tests and the other windows find them by object name. The
// member functions that a subsystem owns are defined in that subsystem's folder.
#pragma once

#include "Prompts.h"

#include <QImage>
#include <QMainWindow>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QStatusBar;
class QTimer;
class QToolButton;
class THTMListBox;
class TLEADImage;
class TOperationsPanel;
class TSaveWizzard;
class TSaveWizzard2;
class TReducedDecoder;
struct TPreparedPicture;
namespace Codecs {
struct LoadedPicture;
}

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // programFolder: the folder of the executable; arguments: the command-line arguments after the
    // program's name. The workspace is prepared at once (FormCreate).
    TMainForm(const QString& programFolder, const QStringList& arguments, Prompts& prompts,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // Workspace state
    QString ProgramFolder;
    QString TempFolder;
    QString ThumbFolder;
    QString RunMode;
    QString SourceFolder;
    QString CurrentFile;
    QString SelectedEntry;
    QString ShownFile;
    int FileTotal = 0;
    int FileDone = 0;
    int UndoCounter = 0;
    bool Changed = false;
    bool AskBeforeReplace = true;
    // The initial folder of the open dialog (empty: the dialog's own default).
    QString OpenDialogFolder;
    // The start-up could not prepare the workspace folders.
    bool WorkspaceFailed = false;

    // Start-up and closing
    void FormCreate();
    void FormClose();
    // Deletes every file matching the pattern (a full path whose name may hold * and ?), normal,
    // read-only and hidden alike; folders and failures are skipped.
    static void DeleteFiles(const QString& pattern);

    // Activation: the work area fills the window; the tips are offered.
    void FormActivate();
    // Offers the tips dialog unless the user asked not to see it again.
    void ShowTipsOnActivation();
    // Offers to save the series when it has unsaved edits (before opening and when closing).
    void OfferSave();

    // Opening pictures and the thumbnail list; thumbnails and list entries are this high.
    static constexpr int kThumbnailHeight = 70;
    void OpenSpeedButtonClick();
    void OpenOneSpeedButtonClick();
    void OpenSeries();
    void OpenOne(const QString& name);
    void AddEntry();
    void RefreshEntry();
    void MakeThumbnail(const QString& file, int height, bool force);
    void SelectOnly(int index);
    void FileListBoxClick();
    void Timer2Timer();
    void ShowPicture(const QString& name, bool force);
    // Enables or disables every command that needs an open picture (the undo keeps its own state).
    void EnablePictureCommands(bool on);

    // The edit cycle and undo
    // The working copy: the current picture's latest state.
    QString WorkingCopy() const { return ProgramFolder + QStringLiteral("Temp.jpg"); }
    // Writes the view's picture to a file as every step of the cycle does (JPEG, factor 4).
    void WriteView(const QString& file);
    void CancelRegion();
    void PushUndo();
    void CommitEdit();
    void UndoImageClick();
    void UpdateUndoPicture();
    // Back to the operations panel from the crop or red-eye panel, committing red-eye removals.
    void BackToOperationsPanel();
    // Pastes back and drops any floater, removes the region and gives the view back the saved
    // frame type and marking tool.
    void EndFloater();
    bool RedEyeMode = false;
    int SavedFrameType = 0;
    int SavedMarkingTool = 0;
    // The last picture written by WriteView, encoded, and the key of the pixels it came from.
    QByteArray WrittenBytes;
    qint64 WrittenKey = 0;
    // The two looks of UndoImage.
    QImage EnabledPic;
    QImage DisabledPic;

    // Rotation and mirroring: "-90", "90", "180", "FlipV" or "FlipH".
    void RotateFlip(const QString& code);

    // Saving
    void SaveSpeedButtonClick();
    void Save_All_SpeedButtonClick();
    void SaveCurrent();
    void SaveSeries();
    // The one save dialog of the window: title, file name, filter and extension as last set.
    Prompts::FileRequest SaveDialog2;
    TSaveWizzard* SaveWizzard = nullptr;
    TSaveWizzard2* SaveWizzard2 = nullptr;

    // The information display
    void ShowPictureInfo();
    void ShowExif();
    void EXIF1Click();

    // The view (zoom strip, scroll steps, panning)
    void ZoomTrackBarChange();
    void Button1Click();
    void EinpassenBitBtnClick();
    void ViewLEADImageChange();
    void ViewLEADImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void ViewLEADImageMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void ViewLEADImageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    bool Panning = false;
    int PanLastX = 0;
    int PanLastY = 0;
    int PanDeltaX = 0;
    int PanDeltaY = 0;
    QRect PanRect;
    QRect PanClipRect;
    // The view does not hold the full picture that ShownFile names (it shows a reduced decode
    // made for a thumbnail, or a source being converted), so the next display loads the file.
    bool ShownFileStale = false;
    // The full decode of the series' first picture, started when the series was opened, so the
    // display step after the opening finds it ready; dropped by any other display.
    std::unique_ptr<TReducedDecoder> FirstPicture;
    QString FirstPictureName;

    // Controls
    QWidget* Panel3 = nullptr;
    QLabel* Image1 = nullptr;
    QWidget* ControllBar1 = nullptr;
    QToolButton* OpenOneSpeedButton = nullptr;
    QToolButton* OpenSpeedButton = nullptr;
    QToolButton* SaveSpeedButton = nullptr;
    QToolButton* Save_All_SpeedButton = nullptr;
    QToolButton* PrintSpeedButton = nullptr;
    QWidget* WorkPanel = nullptr;
    QWidget* FileListPanel = nullptr;
    THTMListBox* FileListBox = nullptr;
    QWidget* Panel2 = nullptr;
    QProgressBar* PicProgressBar = nullptr;
    QWidget* Panel1 = nullptr;
    TLEADImage* ViewLEADImage = nullptr;
    QWidget* ZoomPanel = nullptr;
    QLabel* ZoomLabel = nullptr;
    QSlider* ZoomTrackBar = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* EinpassenBitBtn = nullptr;
    QWidget* ZuschneidenPanel = nullptr;
    QLabel* SeitenvhLabel = nullptr;
    QLineEdit* SeitenvhEdit = nullptr;
    QWidget* RedeyePanel = nullptr;
    QPushButton* RedeyeUndoBitBtn = nullptr;
    TOperationsPanel* EffectsPanel = nullptr;
    QPlainTextEdit* EXIFMemo = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    // Hidden auxiliary controls
    TLEADImage* ThumbLEADImage = nullptr;
    TLEADImage* TempLEADImage = nullptr;
    TLEADImage* LEADImage1 = nullptr;
    // The one-shot display step after a list selection.
    QTimer* Timer2 = nullptr;

    // Menus and the items the start-up switches
    QMenu* Datei1 = nullptr;
    QAction* NureinBildffnen1 = nullptr;
    QAction* Bilderserieffnen1 = nullptr;
    QAction* Bilderspeichern1 = nullptr;
    QAction* Bearbeitungrckgnig1 = nullptr;
    QAction* Bilderdrucken1 = nullptr;
    QAction* Programmbeenden1 = nullptr;
    QMenu* Rotation1 = nullptr;
    QMenu* Bildmanipulation1 = nullptr;
    QMenu* Bildeffekte1 = nullptr;
    QMenu* RoteAugenentfernen1 = nullptr;
    QMenu* Stapelbearbeitung1 = nullptr;
    QMenu* EXIF1 = nullptr;
    QAction* EXIFDateneinesDigitalkamerabildesanzeigen1 = nullptr;
    QMenu* Tipps1 = nullptr;
    QMenu* Hilfe1 = nullptr;
    // The print choices that "Drucken" and "Bilder drucken" open.
    QMenu* PopupMenu1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildLayout();
    void BuildMenu();
    void ConnectView();
    void ConnectSeries();
    void ConnectEditing();
    // Creates the two save prompts and connects the save commands.
    void ConnectSaving();
    void SetUpThumbnailFrame();
    // The open dialog and the folder check shared by both open commands; empty when the user
    // cancelled or chose a file in the program's own folders.
    QString ChooseSourceFile(const QString& caption, const QString& folderMessage);
    // Fills the temp folder from the given source entries (all of the folder, or one file).
    void CopyIntoSeries(const QStringList& entries, bool singlePicture);
    // Copies the entries into the temp folder and lists the series.
    void FillSeries(const QStringList& entries, bool singlePicture);
    // Lists every series copy of the temp folder and selects the first.
    void ListSeries(TReducedDecoder& decoder);
    // prepared: the decode and thumbnail a worker made already, or nothing.
    void AddOrRefreshEntry(bool refresh, const TPreparedPicture* prepared);
    void MakeThumbnailFrom(const QString& file, int height, bool force, const TPreparedPicture* prepared);
    void ShowPictureFrom(const QString& name, bool force, const Codecs::LoadedPicture* preview);
    // After an opening that listed nothing: a blank view and the commands off.
    void ShowEmptySeries();
    // The same, after an opening that found nothing to open, with the message that says so.
    void ShowNoPicturesFound();
    void ShowProgress(const QString& text, int percent);

    Prompts& prompts;
};
