#include "shell/MainWindow.h"

#include "core/DugoVrijeme.h"
#include "core/Okruzenje.h"
#include "platform/Clock.h"
#include "shell/MrezaAzuriranja.h"
#include "shell/Naredbe.h"
#include "shell/Pokretanje.h"
#include "shell/Postavke.h"
#include "shell/Zatvaranje.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

// The pictures are compiled into the shell library, which the linker would otherwise leave out.
static void učitajSlike()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

// Text for display: the transcripts keep CR LF, a text box shows one line break.
QString zaPrikaz(const QString& tekst)
{
    return QString(tekst).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QColor bojaIzRgb(quint32 boja)
{
    return QColor(static_cast<int>(boja & 0xFF), static_cast<int>((boja >> 8) & 0xFF),
                  static_cast<int>((boja >> 16) & 0xFF));
}

void obojaj(QWidget* w, const QColor& boja)
{
    QPalette paleta = w->palette();
    paleta.setColor(QPalette::Window, boja);
    w->setPalette(paleta);
    w->setAutoFillBackground(true);
}

// Names a control for code, screen readers and UI automation.
template <typename W>
W* imenuj(W* w, const QString& objectName, const QString& accessibleName)
{
    w->setObjectName(objectName);
    w->setAccessibleName(accessibleName);
    return w;
}

// A label whose text a screen reader must read: its accessible name is its text, and what the label
// is (its description) while it shows nothing.
void prikažiNatpis(QLabel* natpis, const QString& tekst)
{
    natpis->setText(tekst);
    natpis->setAccessibleName(tekst.isEmpty() ? natpis->accessibleDescription() : tekst);
}

QString bezOznakePrečaca(QString natpis)
{
    return natpis.remove(u'&');
}

}  // namespace

MainWindow::MainWindow(Okruzenje& o, std::function<void()> krajOdmah)
    : o_(o), krajOdmah_(std::move(krajOdmah))
{
    učitajSlike();
    setObjectName(QStringLiteral("frmLiveUpdate"));
    setWindowIcon(QIcon(QStringLiteral(":/slike/lumivex")));
    napraviKontrole();
    poveži();
    osvježiSve();
}

MainWindow::~MainWindow()
{
    o_.model.prestaniPratiti(pratitelj_);
}

void MainWindow::napraviKontrole()
{
    auto* središte = new QWidget(this);
    središte->setObjectName(QStringLiteral("središte"));
    setCentralWidget(središte);
    auto* raspored = new QVBoxLayout(središte);

    SSTab1_ = imenuj(new QTabWidget(središte), QStringLiteral("SSTab1"), QStringLiteral("Kartice"));
    const QString natpisi[4] = {QStringLiteral("&Potrebna &ažuriranja"), QStringLiteral("Poruke o &akcijama"),
                                QStringLiteral("Poruke o &greškama"),
                                QStringLiteral("Kopiranje novih (svih) programa na disk/mrežnu lokaciju")};
    QWidget* kartice[4] = {
        napraviKarticuAžuriranja(),
        napraviKarticuPoruka(txtPor_, QStringLiteral("txtPor"), QStringLiteral("Poruke o akcijama")),
        napraviKarticuPoruka(txtPorGr_, QStringLiteral("txtPorGr"), QStringLiteral("Poruke o greškama")),
        napraviKarticuDistribucije()};
    for (int i = 0; i < 4; ++i) {
        kartice[i]->setObjectName(QStringLiteral("SSTab1_%1").arg(i));
        kartice[i]->setAccessibleName(bezOznakePrečaca(natpisi[i]));
        SSTab1_->addTab(kartice[i], natpisi[i]);
    }
    raspored->addWidget(SSTab1_, 1);

    raspored->addWidget(napraviOdabirIzvora(središte));
    raspored->addLayout(napraviGumbe(središte));
    napraviStatusnuTraku();
    napraviTajmere();
    resize(820, 600);
}

QWidget* MainWindow::napraviKarticuAžuriranja()
{
    auto* kartica = new QWidget;
    auto* raspored = new QVBoxLayout(kartica);
    fgAžuriranja_ = imenuj(new MrezaAzuriranja(kartica), QStringLiteral("fgAžuriranja"),
                           QStringLiteral("Potrebna ažuriranja"));
    cmdDownloadAndUpdate_ =
        imenuj(new QPushButton(QStringLiteral("Download programa i instalacija"), kartica),
               QStringLiteral("cmdDownloadAndUpdate"), QStringLiteral("Download programa i instalacija"));
    cmdDownloadAndUpdate_->setIcon(QIcon(QStringLiteral(":/slike/download")));
    cmdDownloadAndUpdate_->setIconSize(QSize(24, 24));
    raspored->addWidget(fgAžuriranja_);
    raspored->addWidget(cmdDownloadAndUpdate_);
    return kartica;
}

QWidget* MainWindow::napraviKarticuPoruka(QPlainTextEdit*& okno, const QString& ime, const QString& natpis)
{
    auto* kartica = new QWidget;
    auto* raspored = new QVBoxLayout(kartica);
    okno = imenuj(new QPlainTextEdit(kartica), ime, natpis);
    okno->setReadOnly(true);
    raspored->addWidget(okno);
    return kartica;
}

QWidget* MainWindow::napraviKarticuDistribucije()
{
    auto* kartica = new QWidget;
    auto* raspored = new QVBoxLayout(kartica);
    const QString natpisLabel1 = QStringLiteral(
        "Lokacija za presnimavanje novih programa i komponenti radi distribucije u mreži (prvo treba "
        "ažurirati "
        "lokalno računalo)");
    Label1_ = imenuj(new QLabel(natpisLabel1, kartica), QStringLiteral("Label1"), natpisLabel1);
    Label1_->setWordWrap(true);
    auto* redLokacije = new QHBoxLayout;
    txtLokacija_[1] = imenuj(new QLineEdit(kartica), QStringLiteral("txtLokacija_1"),
                             QStringLiteral("Lokacija za distribuciju"));
    cmdLokacija_[1] = imenuj(new QToolButton(kartica), QStringLiteral("cmdLokacija_1"),
                             QStringLiteral("Odabir lokacije za distribuciju"));
    redLokacije->addWidget(txtLokacija_[1]);
    redLokacije->addWidget(cmdLokacija_[1]);
    cmdDownlNaLokaciju_ = imenuj(
        new QPushButton(QStringLiteral("Presnimavanje datoteka na unesenu lokaciju"), kartica),
        QStringLiteral("cmdDownlNaLokaciju"), QStringLiteral("Presnimavanje datoteka na unesenu lokaciju"));
    cmdDownlNaLokaciju_->setIcon(QIcon(QStringLiteral(":/slike/download")));
    cmdDownlNaLokaciju_->setIconSize(QSize(24, 24));
    const QString natpisSati = QStringLiteral(
        "Vrijeme automatskog preuzimanja novih verzija svakih n sati (0-23) 0-ne preuzimati automatski:");
    lblVrijemeDownloada_ =
        imenuj(new QLabel(natpisSati, kartica), QStringLiteral("lblVrijemeDownloada"), natpisSati);
    lblVrijemeDownloada_->setWordWrap(true);
    numVrijemeDownloada_ = imenuj(new QSpinBox(kartica), QStringLiteral("numVrijemeDownloada"), natpisSati);
    numVrijemeDownloada_->setRange(0, 23);
    lblVrijemeDownloada_->setBuddy(numVrijemeDownloada_);
    auto* redSati = new QHBoxLayout;
    redSati->addWidget(lblVrijemeDownloada_, 1);
    redSati->addWidget(numVrijemeDownloada_);
    // The transfer clock's name is its text, so a screen reader reads the time; what it is goes in the
    // description.
    lblVrijemePrijenosa_ = new QLabel(kartica);
    lblVrijemePrijenosa_->setObjectName(QStringLiteral("lblVrijemePrijenosa"));
    lblVrijemePrijenosa_->setAccessibleDescription(QStringLiteral("Vrijeme prijenosa"));
    raspored->addWidget(Label1_);
    raspored->addLayout(redLokacije);
    raspored->addWidget(cmdDownlNaLokaciju_);
    raspored->addLayout(redSati);
    raspored->addWidget(lblVrijemePrijenosa_);
    raspored->addStretch(1);
    return kartica;
}

QGroupBox* MainWindow::napraviOdabirIzvora(QWidget* središte)
{
    fraLokacija_ =
        imenuj(new QGroupBox(QStringLiteral("Lokacija ažuriranja - novih verzija"), središte),
               QStringLiteral("fraLokacija"), QStringLiteral("Lokacija ažuriranja - novih verzija"));
    auto* raspored = new QGridLayout(fraLokacija_);
    for (int i = 0; i < 3; ++i)
        optLokacija_[i] =
            imenuj(new QRadioButton(fraLokacija_), QStringLiteral("optLokacija_%1").arg(i), QString());
    txtLokacija_[0] = imenuj(new QLineEdit(fraLokacija_), QStringLiteral("txtLokacija_0"),
                             QStringLiteral("Mrežna lokacija novih verzija"));
    cmdLokacija_[0] = imenuj(new QToolButton(fraLokacija_), QStringLiteral("cmdLokacija_0"),
                             QStringLiteral("Odabir mrežne lokacije"));
    raspored->addWidget(optLokacija_[0], 0, 0, 1, 3);
    raspored->addWidget(optLokacija_[1], 1, 0);
    raspored->addWidget(txtLokacija_[0], 1, 1);
    raspored->addWidget(cmdLokacija_[0], 1, 2);
    raspored->addWidget(optLokacija_[2], 2, 0, 1, 3);
    raspored->setColumnStretch(1, 1);
    for (QToolButton* gumb : cmdLokacija_) {
        gumb->setIcon(QIcon(QStringLiteral(":/slike/direktorija")));
        gumb->setToolTip(gumb->accessibleName());
    }
    return fraLokacija_;
}

QHBoxLayout* MainWindow::napraviGumbe(QWidget* središte)
{
    // The progress bar is laid over the check button while it is shown.
    auto* red = new QHBoxLayout;
    cmdVerzija_ = imenuj(
        new QPushButton(QStringLiteral("Provjeri postoje li nove verzije i pripremi za download/prijenos"),
                        središte),
        QStringLiteral("cmdVerzija"),
        QStringLiteral("Provjeri postoje li nove verzije i pripremi za download/prijenos"));
    cmdIzlaz_ = imenuj(new QPushButton(QStringLiteral("Izlaz"), središte), QStringLiteral("cmdIzlaz"),
                       QStringLiteral("Izlaz"));
    red->addWidget(cmdVerzija_, 1);
    red->addWidget(cmdIzlaz_);
    progBar_ =
        imenuj(new QProgressBar(središte), QStringLiteral("progBar"), QStringLiteral("Napredak prijenosa"));
    progBar_->setTextVisible(false);
    progBar_->hide();
    cmdVerzija_->installEventFilter(this);
    return red;
}

void MainWindow::napraviStatusnuTraku()
{
    // The current action, the transfer's state, the date and the time. Each panel's accessible name is
    // its text, so a screen reader reads what it shows; what the panel is goes in its description.
    QStatusBar* sbar = statusBar();
    sbar->setObjectName(QStringLiteral("SBar"));
    sbar->setAccessibleName(QStringLiteral("Statusna traka"));
    const QString savjeti[4] = {QStringLiteral("Trenutna akcija"), QStringLiteral("Trenutno stanje"),
                                QStringLiteral("Datum"), QStringLiteral("Vrijeme")};
    const QString imena[4] = {QStringLiteral("p1"), QStringLiteral("p2"), QStringLiteral("SBar_datum"),
                              QStringLiteral("SBar_vrijeme")};
    for (int i = 0; i < 4; ++i) {
        SBar_[i] = new QLabel(sbar);
        SBar_[i]->setObjectName(imena[i]);
        SBar_[i]->setAccessibleDescription(savjeti[i]);
        SBar_[i]->setToolTip(savjeti[i]);
        SBar_[i]->setMinimumWidth(i < 2 ? 200 : 80);
        if (i < 2)
            sbar->addWidget(SBar_[i], 1);
        else
            sbar->addPermanentWidget(SBar_[i]);
    }
}

void MainWindow::napraviTajmere()
{
    tmrUpdate_ = new QTimer(this);
    tmrUpdate_->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate_->setInterval(60000);
    // Ticks keep their minute: a coarse timer may drift past a minute 0 and miss a full hour's copy.
    tmrUpdate_->setTimerType(Qt::PreciseTimer);
    tmrPrijenos_ = new QTimer(this);
    tmrPrijenos_->setObjectName(QStringLiteral("tmrPrijenos"));
    tmrPrijenos_->setInterval(500);
    tmrSat_ = new QTimer(this);
    tmrSat_->setInterval(1000);
}

void MainWindow::poveži()
{
    pratitelj_ = o_.model.pratiPromjene([this](ProzorModel::Kontrola k) { osvježi(k); });

    // An option is chosen by a click, the arrow keys or an accessibility tool's "Toggle", which checks it
    // without a click; its handler runs once for each. A click on the option already chosen runs it too.
    for (int i = 0; i < 3; ++i) {
        connect(optLokacija_[i], &QRadioButton::toggled, this, [this, i](bool uključena) {
            if (!uključena)
                return;
            // A click emits its toggle and then itself in one go; a toggle alone is over by the next event.
            upravoPrebačena_ = i;
            QTimer::singleShot(0, this, [this] { upravoPrebačena_ = -1; });
            odaberiOpciju(i);
        });
        connect(optLokacija_[i], &QRadioButton::clicked, this, [this, i] {
            if (upravoPrebačena_ == i) {
                upravoPrebačena_ = -1;
                return;
            }
            odaberiOpciju(i);
        });
    }
    // Any change of a field's text reaches the model, typed or set through the accessibility bus.
    for (int i = 0; i < 2; ++i) {
        connect(txtLokacija_[i], &QLineEdit::textChanged, this, [this, i](const QString& tekst) {
            if (tekst != o_.model.txtLokacija(i))
                o_.model.postaviTxtLokacija(i, tekst);
        });
        connect(cmdLokacija_[i], &QToolButton::clicked, this, [this, i] { OdaberiLokaciju(o_, i); });
        txtLokacija_[i]->installEventFilter(this);
    }
    connect(numVrijemeDownloada_, &QSpinBox::valueChanged, this, [this](int sati) {
        if (sati != o_.model.numVrijemeDownloada())
            PromjenaVremenaDownloada(o_, sati);
    });

    connect(cmdVerzija_, &QPushButton::clicked, this, [this] { cmdVerzija_KlikUzZaštitu(o_); });
    connect(cmdDownloadAndUpdate_, &QPushButton::clicked, this,
            [this] { cmdDownloadAndUpdate_KlikUzZaštitu(o_); });
    connect(cmdDownlNaLokaciju_, &QPushButton::clicked, this,
            [this] { cmdDownlNaLokaciju_KlikUzZaštitu(o_); });
    connect(cmdIzlaz_, &QPushButton::clicked, this, [this] { krajOdmah_(); });
    connect(SSTab1_, &QTabWidget::currentChanged, this,
            [this](int kartica) { o_.model.postaviKarticu(kartica); });

    connect(tmrUpdate_, &QTimer::timeout, this, [this] { tmrUpdate_Timer(o_); });
    connect(tmrPrijenos_, &QTimer::timeout, this, [this] { tmrPrijenos_Timer(o_); });
    connect(tmrSat_, &QTimer::timeout, this, [this] { osvježiSat(); });
    tmrUpdate_->start();
    tmrSat_->start();
    osvježiSat();
}

void MainWindow::osvježi(ProzorModel::Kontrola kontrola)
{
    using K = ProzorModel::Kontrola;
    const ProzorModel& m = o_.model;
    QWidget* promijenjena = nullptr;
    switch (kontrola) {
        case K::Naslov:
            setWindowTitle(m.naslov());
            break;
        case K::Kartica:
            SSTab1_->setCurrentIndex(m.kartica());
            break;
        case K::OptLokacija:
        case K::OptLokacijaNatpisi:
            osvježiOpcije(kontrola == K::OptLokacijaNatpisi);
            break;
        case K::TxtLokacija0:
        case K::TxtLokacija1: {
            const int i = kontrola == K::TxtLokacija0 ? 0 : 1;
            if (txtLokacija_[i]->text() != m.txtLokacija(i))
                txtLokacija_[i]->setText(m.txtLokacija(i));
            promijenjena = txtLokacija_[i];
            break;
        }
        case K::NumVrijemeDownloada:
            if (numVrijemeDownloada_->value() != m.numVrijemeDownloada()) {
                const QSignalBlocker tiho(numVrijemeDownloada_);
                numVrijemeDownloada_->setValue(m.numVrijemeDownloada());
            }
            break;
        case K::CmdDownloadAndUpdate:
        case K::DugeNaredbe:
            osvježiDugeNaredbe();
            break;
        case K::Panel1:
            prikažiNatpis(SBar_[0], m.panel1());
            promijenjena = statusBar();
            break;
        case K::Panel2:
            prikažiNatpis(SBar_[1], m.panel2());
            promijenjena = statusBar();
            break;
        case K::TxtPor:
            txtPor_->setPlainText(zaPrikaz(m.txtPor()));
            promijenjena = txtPor_;
            break;
        case K::TxtPorGr:
            txtPorGr_->setPlainText(zaPrikaz(m.txtPorGr()));
            promijenjena = txtPorGr_;
            break;
        case K::Mreža:
            fgAžuriranja_->prikaži(m);
            promijenjena = fgAžuriranja_;
            break;
        case K::RedMreže:
            fgAžuriranja_->osvježiRed(m, m.vidljiviRed());
            promijenjena = fgAžuriranja_;
            break;
        case K::ProgBar:
            osvježiProgBar();
            promijenjena = progBar_;
            break;
        case K::LblVrijemePrijenosa:
            prikažiNatpis(lblVrijemePrijenosa_, m.lblVrijemePrijenosa());
            promijenjena = lblVrijemePrijenosa_;
            break;
        case K::TmrPrijenos:
            m.tmrPrijenosOmogućen() ? tmrPrijenos_->start() : tmrPrijenos_->stop();
            break;
        case K::Boja:
            osvježiBoju();
            promijenjena = this;
            break;
    }
    // The procedures run on this thread: a pane or panel is repainted at once, so its text is
    // visible while the long operation goes on.
    if (promijenjena && promijenjena->isVisible())
        promijenjena->repaint();
}

void MainWindow::osvježiOpcije(bool natpisi)
{
    const ProzorModel& m = o_.model;
    if (natpisi) {
        for (int i = 0; i < 3; ++i) {
            optLokacija_[i]->setText(m.natpisOpcije(i));
            optLokacija_[i]->setAccessibleName(m.natpisOpcije(i));
        }
        return;
    }
    // Showing the model's choice is no choice of the user's: it runs no handler.
    QRadioButton* opcija = optLokacija_[static_cast<size_t>(std::clamp(m.optLokacija(), 0, 2))];
    const QSignalBlocker tiho(opcija);
    opcija->setChecked(true);
}

void MainWindow::osvježiDugeNaredbe()
{
    const ProzorModel& m = o_.model;
    cmdDownloadAndUpdate_->setEnabled(m.cmdDownloadAndUpdateOmogućen() && m.dugeNaredbeOmogućene());
    cmdVerzija_->setEnabled(m.dugeNaredbeOmogućene());
    cmdDownlNaLokaciju_->setEnabled(m.dugeNaredbeOmogućene());
    // The exit button ends the program at once, which must not happen half-way through an operation.
    cmdIzlaz_->setEnabled(m.dugeNaredbeOmogućene());
}

void MainWindow::osvježiProgBar()
{
    const ProzorModel& m = o_.model;
    // The bar shows at most an int's range; larger totals are scaled so it still moves in proportion.
    const qint64 raspon = std::max<qint64>(m.progBarMax() - m.progBarMin(), 0);
    const qint64 djelitelj = raspon > 1000000000 ? raspon / 1000000 + 1 : 1;
    progBar_->setRange(0, static_cast<int>(raspon / djelitelj));
    progBar_->setValue(
        static_cast<int>(std::clamp<qint64>(m.progBarVrijednost() - m.progBarMin(), 0, raspon) / djelitelj));
    if (m.progBarVidljiv()) {
        postaviProgBarNaMjesto();
        progBar_->show();
        progBar_->raise();
    } else {
        progBar_->hide();
    }
}

void MainWindow::osvježiBoju()
{
    const ProzorModel& m = o_.model;
    const QColor boja = bojaIzRgb(m.boja());
    obojaj(this, boja);
    for (QRadioButton* opcija : optLokacija_) obojaj(opcija, boja);
    obojaj(SSTab1_, boja);
    for (int i = 0; i < SSTab1_->count(); ++i) obojaj(SSTab1_->widget(i), boja);
    obojaj(fraLokacija_, boja);
    QPalette paleta = fgAžuriranja_->palette();
    paleta.setColor(QPalette::Window, boja);
    paleta.setColor(QPalette::Base, boja);
    fgAžuriranja_->setPalette(paleta);
}

void MainWindow::osvježiSve()
{
    using K = ProzorModel::Kontrola;
    for (K k :
         {K::Naslov, K::Kartica, K::OptLokacija, K::OptLokacijaNatpisi, K::TxtLokacija0, K::TxtLokacija1,
          K::NumVrijemeDownloada, K::CmdDownloadAndUpdate, K::Panel1, K::Panel2, K::TxtPor, K::TxtPorGr,
          K::Mreža, K::ProgBar, K::LblVrijemePrijenosa, K::TmrPrijenos, K::Boja})
        osvježi(k);
}

void MainWindow::postaviProgBarNaMjesto()
{
    progBar_->setGeometry(cmdVerzija_->geometry());
}

void MainWindow::osvježiSat()
{
    const QLocale locale;
    const QDateTime sada = o_.sat.now();
    prikažiNatpis(SBar_[2], locale.toString(sada.date(), QLocale::ShortFormat));
    prikažiNatpis(SBar_[3], DugoVrijeme(locale, sada.time()));
}

void MainWindow::odaberiOpciju(int opcija)
{
    KlikNaOpciju(o_, opcija);
    // Whatever the handler did, the options show the model's choice.
    osvježi(ProzorModel::Kontrola::OptLokacija);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing would end the program in the middle of an installation or a copy, with no way back to
    // the old files: the window stays open until the operation has ended.
    if (o_.stanje.OperacijaUTijeku) {
        event->ignore();
        return;
    }
    ZatvoriProzor(o_);
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cmdVerzija_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        postaviProgBarNaMjesto();
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move to another control of the window checks the folder, as leaving a box does.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || provjeraLokacijeUToku_)
            return false;
        for (int i = 0; i < 2; ++i) {
            if (watched != txtLokacija_[i])
                continue;
            provjeraLokacijeUToku_ = true;
            ProvjeriLokaciju(o_, i);
            provjeraLokacijeUToku_ = false;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
