#pragma once

#include "core/ProzorModel.h"

#include <QMainWindow>
#include <array>
#include <functional>

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;
class MrezaAzuriranja;
struct Okruzenje;

// The updater's one window, frmLiveUpdate. It shows the window model, repainting each change at
// once, and hands the user's actions to the procedures.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `krajOdmah` ends the program at once, without the window's close processing.
    MainWindow(Okruzenje& o, std::function<void()> krajOdmah);
    ~MainWindow() override;

    QTimer* tmrUpdate() const { return tmrUpdate_; }
    QTimer* tmrPrijenos() const { return tmrPrijenos_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls, one builder per tab and one per part below the tabs.
    void napraviKontrole();
    QWidget* napraviKarticuAžuriranja();
    QWidget* napraviKarticuPoruka(QPlainTextEdit*& okno, const QString& ime, const QString& natpis);
    QWidget* napraviKarticuDistribucije();
    QGroupBox* napraviOdabirIzvora(QWidget* središte);
    QHBoxLayout* napraviGumbe(QWidget* središte);
    void napraviStatusnuTraku();
    void napraviTajmere();
    void poveži();
    void osvježi(ProzorModel::Kontrola kontrola);
    // The controls whose showing takes more than a line: the long commands' buttons, the bar, the colour.
    void osvježiOpcije(bool natpisi);
    void osvježiDugeNaredbe();
    void osvježiProgBar();
    void osvježiBoju();
    void osvježiSve();
    void postaviProgBarNaMjesto();
    void osvježiSat();
    void odaberiOpciju(int opcija);

    Okruzenje& o_;
    std::function<void()> krajOdmah_;
    bool provjeraLokacijeUToku_ = false;
    int pratitelj_ = 0;
    // The option whose toggle just ran its handler, so the click that caused the toggle does not run it
    // again.
    int upravoPrebačena_ = -1;

    QTabWidget* SSTab1_ = nullptr;
    MrezaAzuriranja* fgAžuriranja_ = nullptr;
    QPushButton* cmdDownloadAndUpdate_ = nullptr;
    QPlainTextEdit* txtPor_ = nullptr;
    QPlainTextEdit* txtPorGr_ = nullptr;
    QLabel* Label1_ = nullptr;
    std::array<QLineEdit*, 2> txtLokacija_{};
    std::array<QToolButton*, 2> cmdLokacija_{};
    QPushButton* cmdDownlNaLokaciju_ = nullptr;
    QLabel* lblVrijemeDownloada_ = nullptr;
    QSpinBox* numVrijemeDownloada_ = nullptr;
    QLabel* lblVrijemePrijenosa_ = nullptr;
    QGroupBox* fraLokacija_ = nullptr;
    std::array<QRadioButton*, 3> optLokacija_{};
    QPushButton* cmdVerzija_ = nullptr;
    QPushButton* cmdIzlaz_ = nullptr;
    QProgressBar* progBar_ = nullptr;
    std::array<QLabel*, 4> SBar_{};
    QTimer* tmrUpdate_ = nullptr;
    QTimer* tmrPrijenos_ = nullptr;
    QTimer* tmrSat_ = nullptr;
};
