// The main window's layout, menus, start-up and closing.
#include "fMain.h"

#include "BusyCursor.h"
#include "HTMListBox.h"
#include "LEADImage.h"
#include "OperationsPanel.h"
#include "Prompts.h"
#include "ReducedDecoder.h"
#include "SeriesNames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QWidget* Named(QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton* FlatButton(const char* name, const QString& caption, QStyle::StandardPixmap icon,
                        QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    return button;
}

QAction* Item(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* Menu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

TMainForm::TMainForm(const QString& programFolder, const QStringList& arguments, Prompts& prompts,
                     QWidget* parent)
    : QMainWindow(parent), prompts(prompts) {
    setObjectName(QStringLiteral("MainForm"));
    ProgramFolder = SeriesNames::WithBackslash(programFolder);
    RunMode = arguments.value(0);
    BuildLayout();
    BuildMenu();
    ConnectView();
    ConnectSeries();
    ConnectEditing();
    SetUpThumbnailFrame();
    FormCreate();
    // The dialogs come after the start-up, which they rely on for the program folder.
    ConnectSaving();
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildLayout() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel3 = Named(new QWidget(central), "Panel3");
    Panel3->setFixedHeight(41);
    Image1 = new QLabel(Panel3);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap banner(ProgramFolder + QStringLiteral("banner.png"));
    if (banner.isNull()) {
        // Without the installed banner the window still names the program.
        Image1->setText(QStringLiteral("  Korvelle"));
        Image1->setStyleSheet(QStringLiteral("font: bold 20px 'Liberation Sans'; color: #0a3d7a;"));
        Image1->setGeometry(0, 0, 400, 41);
    } else {
        Image1->setPixmap(banner);
        Image1->setGeometry(0, 0, banner.width(), 41);
    }
    column->addWidget(Panel3);

    ControllBar1 = Named(new QWidget(central), "ControllBar1");
    auto* tools = new QHBoxLayout(ControllBar1);
    tools->setContentsMargins(4, 0, 4, 0);
    OpenOneSpeedButton = FlatButton("OpenOneSpeedButton", QStringLiteral("Bild öffnen"),
                                    QStyle::SP_DialogOpenButton, ControllBar1);
    OpenSpeedButton = FlatButton("OpenSpeedButton", QStringLiteral("Bilderserie öffnen"),
                                 QStyle::SP_DirOpenIcon, ControllBar1);
    SaveSpeedButton = FlatButton("SaveSpeedButton", QStringLiteral("Bild speichern"),
                                 QStyle::SP_DialogSaveButton, ControllBar1);
    Save_All_SpeedButton = FlatButton("Save_All_SpeedButton", QStringLiteral("Bilderserie speichern"),
                                      QStyle::SP_DriveHDIcon, ControllBar1);
    PrintSpeedButton = FlatButton("PrintSpeedButton", QStringLiteral("Drucken"),
                                  QStyle::SP_FileDialogDetailedView, ControllBar1);
    for (QToolButton* button :
         {OpenOneSpeedButton, OpenSpeedButton, SaveSpeedButton, Save_All_SpeedButton, PrintSpeedButton})
        tools->addWidget(button);
    tools->addStretch();
    column->addWidget(ControllBar1);

    WorkPanel = Named(new QWidget(central), "WorkPanel");
    auto* work = new QHBoxLayout(WorkPanel);
    work->setContentsMargins(0, 0, 0, 0);
    work->setSpacing(0);
    FileListPanel = Named(new QWidget(WorkPanel), "FileListPanel");
    FileListPanel->setFixedWidth(129);
    auto* listColumn = new QVBoxLayout(FileListPanel);
    listColumn->setContentsMargins(0, 0, 0, 0);
    FileListBox = new THTMListBox(FileListPanel);
    FileListBox->setObjectName(QStringLiteral("FileListBox"));
    listColumn->addWidget(FileListBox);
    work->addWidget(FileListPanel);

    Panel2 = Named(new QWidget(WorkPanel), "Panel2");
    Panel2->setFixedWidth(14);
    auto* barColumn = new QVBoxLayout(Panel2);
    barColumn->setContentsMargins(1, 0, 1, 0);
    PicProgressBar = new QProgressBar(Panel2);
    PicProgressBar->setObjectName(QStringLiteral("PicProgressBar"));
    PicProgressBar->setOrientation(Qt::Vertical);
    PicProgressBar->setTextVisible(false);
    barColumn->addWidget(PicProgressBar);
    work->addWidget(Panel2);

    Panel1 = Named(new QWidget(WorkPanel), "Panel1");
    auto* viewColumn = new QVBoxLayout(Panel1);
    viewColumn->setContentsMargins(0, 0, 0, 0);
    viewColumn->setSpacing(0);
    ViewLEADImage = new TLEADImage(Panel1);
    ViewLEADImage->setObjectName(QStringLiteral("ViewLEADImage"));
    ViewLEADImage->SetBackColor(Qt::white);
    ViewLEADImage->SetCenterImage(true);
    viewColumn->addWidget(ViewLEADImage, 1);
    ZoomPanel = Named(new QWidget(Panel1), "ZoomPanel");
    ZoomPanel->setFixedHeight(33);
    auto* zoom = new QHBoxLayout(ZoomPanel);
    zoom->setContentsMargins(6, 2, 6, 2);
    ZoomLabel = new QLabel(QStringLiteral("Zoom"), ZoomPanel);
    ZoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    ZoomLabel->setMinimumWidth(80);
    ZoomTrackBar = new QSlider(Qt::Horizontal, ZoomPanel);
    ZoomTrackBar->setObjectName(QStringLiteral("ZoomTrackBar"));
    ZoomTrackBar->setRange(2, 1000);
    ZoomTrackBar->setValue(100);
    ZoomTrackBar->setTickInterval(10);
    ZoomTrackBar->setTickPosition(QSlider::TicksBelow);
    Button1 = new QPushButton(QStringLiteral("100 %"), ZoomPanel);
    Button1->setObjectName(QStringLiteral("Button1"));
    EinpassenBitBtn = new QPushButton(QStringLiteral("Einpassen"), ZoomPanel);
    EinpassenBitBtn->setObjectName(QStringLiteral("EinpassenBitBtn"));
    zoom->addWidget(ZoomLabel);
    zoom->addWidget(ZoomTrackBar, 1);
    zoom->addWidget(Button1);
    zoom->addWidget(EinpassenBitBtn);
    viewColumn->addWidget(ZoomPanel);
    work->addWidget(Panel1, 1);

    ZuschneidenPanel = Named(new QFrame(WorkPanel), "ZuschneidenPanel");
    ZuschneidenPanel->setFixedWidth(170);
    SeitenvhLabel = new QLabel(QStringLiteral("Seitenverhältnis"), ZuschneidenPanel);
    SeitenvhLabel->setObjectName(QStringLiteral("SeitenvhLabel"));
    SeitenvhLabel->setGeometry(8, 8, 150, 16);
    SeitenvhEdit = new QLineEdit(ZuschneidenPanel);
    SeitenvhEdit->setObjectName(QStringLiteral("SeitenvhEdit"));
    SeitenvhEdit->setGeometry(8, 26, 150, 22);
    SeitenvhLabel->hide();
    SeitenvhEdit->hide();
    ZuschneidenPanel->hide();
    work->addWidget(ZuschneidenPanel);
    RedeyePanel = Named(new QFrame(WorkPanel), "RedeyePanel");
    RedeyePanel->setFixedWidth(170);
    RedeyeUndoBitBtn = new QPushButton(QStringLiteral("Bearbeitung rückgängig"), RedeyePanel);
    RedeyeUndoBitBtn->setObjectName(QStringLiteral("RedeyeUndoBitBtn"));
    RedeyeUndoBitBtn->setGeometry(8, 300, 154, 25);
    RedeyePanel->hide();
    work->addWidget(RedeyePanel);
    EffectsPanel = new TOperationsPanel(WorkPanel);
    work->addWidget(EffectsPanel);
    column->addWidget(WorkPanel, 1);

    EXIFMemo = new QPlainTextEdit(central);
    EXIFMemo->setObjectName(QStringLiteral("EXIFMemo"));
    EXIFMemo->setReadOnly(true);
    EXIFMemo->setFixedHeight(120);
    EXIFMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EXIFMemo->hide();
    column->addWidget(EXIFMemo);
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    // The hidden helpers: never shown, so client and picture pixels coincide on them.
    ThumbLEADImage = new TLEADImage(this);
    ThumbLEADImage->setObjectName(QStringLiteral("ThumbLEADImage"));
    TempLEADImage = new TLEADImage(this);
    TempLEADImage->setObjectName(QStringLiteral("TempLEADImage"));
    LEADImage1 = new TLEADImage(this);
    LEADImage1->setObjectName(QStringLiteral("LEADImage1"));
    LEADImage1->resize(105, 89);
    for (TLEADImage* hidden : {ThumbLEADImage, TempLEADImage, LEADImage1})
        hidden->hide();
}

void TMainForm::BuildMenu() {
    QMenuBar* bar = menuBar();
    Datei1 = Menu(bar, "Datei1", QStringLiteral("Datei"));
    NureinBildffnen1 = Item(Datei1, "NureinBildffnen1", QStringLiteral("Bild öffnen"));
    Bilderserieffnen1 = Item(Datei1, "Bilderserieffnen1", QStringLiteral("Bilderserie öffen"));
    Bilderspeichern1 = Item(Datei1, "Bilderspeichern1", QStringLiteral("Bilder speichern"));
    Bearbeitungrckgnig1 = Item(Datei1, "Bearbeitungrckgnig1", QStringLiteral("Bearbeitung rückgänig"));
    Bearbeitungrckgnig1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Bilderdrucken1 = Item(Datei1, "Bilderdrucken1", QStringLiteral("Bilder drucken"));
    Datei1->addSeparator();
    Programmbeenden1 = Item(Datei1, "Programmbeenden1", QStringLiteral("Programm beenden"));
    connect(Programmbeenden1, &QAction::triggered, this, &QWidget::close);

    Rotation1 = Menu(bar, "Rotation1", QStringLiteral("Bildrotation"));
    Item(Rotation1, "Bildnachlinksdrehen1", QStringLiteral("Bild nach links drehen"));
    Item(Rotation1, "Bildnachrechtsdrehen1", QStringLiteral("Bild nach rechts drehen"));
    Item(Rotation1, "Bildumdrehen1", QStringLiteral("Bild umdrehen"));
    Item(Rotation1, "Bildvertikalspiegeln1", QStringLiteral("Bild vertikal spiegeln"));
    Item(Rotation1, "Bildhorizontalspiegeln1", QStringLiteral("Bild horizontal spiegeln"));

    Bildmanipulation1 = Menu(bar, "Bildmanipulation1", QStringLiteral("Bildmanipulation"));
    Item(Bildmanipulation1, "Bildzuschneiden1", QStringLiteral("Bild zuschneiden"));
    Item(Bildmanipulation1, "Greverndern1", QStringLiteral("Größe verändern"));
    Item(Bildmanipulation1, "Papierabzgevorbereiten1", QStringLiteral("Papierabzüge vorbereiten"));
    Item(Bildmanipulation1, "AutomatischeBildverbeserung1", QStringLiteral("Automatische Bildverbesserung"));

    Bildeffekte1 = Menu(bar, "Bildeffekte1", QStringLiteral("Bildeffekte"));
    Item(Bildeffekte1, "HelligkeitKontrastFarbe1", QStringLiteral("Helligkeit/Kontrast/Farbe"));
    Item(Bildeffekte1, "FarbkorrekturRGB1", QStringLiteral("Farbkorrektur RGB"));
    Item(Bildeffekte1, "SchrferWeichzeichner1", QStringLiteral("Schärfer / Weichzeichner"));
    Item(Bildeffekte1, "WeitereBildeffekte1", QStringLiteral("Weitere Bildeffekte"));
    Bildeffekte1->addSeparator();
    // The effects of the paint-effects dialog's list, in its order.
    const struct {
        const char* name;
        const char* caption;
    } effects[] = {
        {"LichtTeilen1", "Licht-Teilen"},
        {"Relief1", "Relief"},
        {"Schrge1", "Schräge"},
        {"Plasma1", "Plasma"},
        {"Solarisieren1", "Solarisieren"},
        {"PosterEffekt1", "Poster-Effekt"},
        {"Unschrfe1", "Unschärfe"},
        {"RauscheninFarbe1", "Rauschen in Farbe"},
        {"RauscheninSchwarzWei1", "Rauschen in Schwarz-Weiß"},
        {"Bewegung1", "Bewegung"},
        {"Mosaik1", "Mosaik"},
        {"Wirbel1", "Wirbel"},
        {"Fischauge1", "Fischauge"},
        {"Rot1", "Rot"},
        {"Grn1", "Grün"},
        {"Blau1", "Blau"},
        {"XRot1", "XRot"},
        {"XGrn1", "XGrün"},
        {"XBlau1", "XBlau"},
        {"Kachelngeteilt1", "Kacheln geteilt"},
        {"Kachelnberlappend1", "Kacheln überlappend"},
    };
    for (const auto& effect : effects)
        Item(Bildeffekte1, effect.name, QString::fromUtf8(effect.caption));

    RoteAugenentfernen1 = Menu(bar, "RoteAugenentfernen1", QStringLiteral("Rote Augen entfernen"));
    Item(RoteAugenentfernen1, "RoteAugenentfernen2", QStringLiteral("Rote Augen entfernen"));
    Stapelbearbeitung1 = Menu(bar, "Stapelbearbeitung1", QStringLiteral("Stapelbearbeitung"));
    Item(Stapelbearbeitung1, "Stapelbearbeitungstarten1", QStringLiteral("Stapelbearbeitung starten"));
    EXIF1 = Menu(bar, "EXIF1", QStringLiteral("EXIF"));
    EXIFDateneinesDigitalkamerabildesanzeigen1 =
        Item(EXIF1, "EXIFDateneinesDigitalkamerabildesanzeigen1",
             QStringLiteral("EXIF Daten eines Digitalkamerabildes anzeigen"));
    connect(EXIFDateneinesDigitalkamerabildesanzeigen1, &QAction::triggered, this, &TMainForm::EXIF1Click);
    Tipps1 = Menu(bar, "Tipps", QStringLiteral("Tipps"));
    Item(Tipps1, "Tipps1", QStringLiteral("Tipps anzeigen"));
    Hilfe1 = Menu(bar, "Hilfe1", QStringLiteral("Hilfe"));
    Item(Hilfe1, "Hilfedatei1", QStringLiteral("Hilfedatei"));
    Item(Hilfe1, "Update1", QStringLiteral("Update"));
    Item(Hilfe1, "Info1", QStringLiteral("Info"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Item(PopupMenu1, "AlleBilderausdemLumbradrucken1", QStringLiteral("Alle Bilder aus dem Lumbra drucken"));
    Item(PopupMenu1, "AusgewhlteBilderausdemLumbradrucken1",
         QStringLiteral("Ausgewählte Bilder aus dem Lumbra drucken"));
    Item(PopupMenu1, "bersichtThumbnailsdrucken1", QStringLiteral("Übersicht (Thumbnails) drucken"));
    const auto openPrintMenu = [this] { PopupMenu1->popup(QCursor::pos()); };
    connect(PrintSpeedButton, &QToolButton::clicked, this, openPrintMenu);
    connect(Bilderdrucken1, &QAction::triggered, this, openPrintMenu);
}

void TMainForm::FormCreate() {
    // Hints at once, for ten seconds.
    setToolTipDuration(10000);
    if (RunMode == QLatin1String("master")) {
        SeitenvhLabel->show();
        SeitenvhEdit->show();
    }
    PicProgressBar->hide();
    TempFolder = ProgramFolder + QStringLiteral("temp/");
    ThumbFolder = ProgramFolder + QStringLiteral("thumb/");
    for (const QString& folder : {TempFolder, ThumbFolder}) {
        if (!QDir(folder).exists() && !QDir().mkpath(folder)) {
            WorkspaceFailed = true;
            prompts.Message(
                Prompts::Kind::Error,
                QStringLiteral("E/A-Fehler: Der Ordner \"%1\" kann nicht angelegt werden.").arg(folder),
                QStringLiteral("Korvelle"));
            return;
        }
    }
    setWindowTitle(QStringLiteral("Korvelle"));
    FileListBox->SetItemHeight(kThumbnailHeight);
    DeleteFiles(ThumbFolder + QLatin1Char('*'));

    // The panel, saving, printing and the editing menus wait for the first opened picture.
    EnablePictureCommands(false);
    Bearbeitungrckgnig1->setEnabled(false);
    EffectsPanel->Picture(QStringLiteral("UndoImage"))->setEnabled(false);
    UpdateUndoPicture();

    const QString marker = ProgramFolder + QStringLiteral("FirstStart.ini");
    if (!QFile::exists(marker)) {
        OpenDialogFolder = ProgramFolder + QStringLiteral("Beispiele/");
        QFile file(marker);
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
}

void TMainForm::DeleteFiles(const QString& pattern) {
    const TBusyCursor busy;
    QDir folder(SeriesNames::FolderOf(pattern));
    // The program writes these names itself, so the mask is matched case-sensitively.
    folder.setFilter(QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    folder.setNameFilters({SeriesNames::FileNamePart(pattern)});
    for (const QString& name : folder.entryList())
        QFile::remove(folder.filePath(name));
}

void TMainForm::FormClose() {
    for (const char* pattern : {"UNDO*.jpg", "Temp.jpg", "prev.jpg", "Print.txt"})
        DeleteFiles(ProgramFolder + QLatin1String(pattern));
}

void TMainForm::FormActivate() {
    // The work area is laid out to fill the window already; what remains is the tips offer.
    ShowTipsOnActivation();
}

void TMainForm::ShowTipsOnActivation() {
    if (QFile::exists(ProgramFolder + QStringLiteral("NoTip.ini")))
        return;
    // The tips dialog is shown here once it exists.
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // The save offer never cancels the close.
    OfferSave();
    FormClose();
    event->accept();
}
