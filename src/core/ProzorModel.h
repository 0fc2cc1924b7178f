#pragma once

#include <QString>
#include <QVector>
#include <array>
#include <functional>
#include <vector>

// One data row of the grid of needed updates: fields 0 to 5 of a record, the picture at its left and
// how far the row is filled.
struct RedMreže {
    std::array<QString, 6> polja;
    int slika = 6;   // 6: not processed yet; 1 to 5: the progress marks
    int ispuna = 0;  // percent of the row's width
};

// What the window shows, as plain data. Procedures change it; the window repaints each change at
// once; tests read it.
class ProzorModel {
public:
    // The controls a change can concern; the view refreshes that control.
    enum class Kontrola {
        Naslov,
        Kartica,
        OptLokacija,
        TxtLokacija0,
        TxtLokacija1,
        NumVrijemeDownloada,
        CmdDownloadAndUpdate,
        DugeNaredbe,
        Panel1,
        Panel2,
        TxtPor,
        TxtPorGr,
        Mreža,
        RedMreže,
        ProgBar,
        LblVrijemePrijenosa,
        TmrPrijenos,
        Boja,
        OptLokacijaNatpisi,
    };

    // Called after every change with the control it concerns.
    using Pratitelj = std::function<void(Kontrola)>;
    int pratiPromjene(Pratitelj pratitelj)
    {
        pratitelji_.push_back({++zadnjiPratitelj_, std::move(pratitelj)});
        return zadnjiPratitelj_;
    }
    void prestaniPratiti(int id)
    {
        std::erase_if(pratitelji_, [id](const auto& p) { return p.first == id; });
    }

    const QString& naslov() const { return naslov_; }
    void postaviNaslov(const QString& v) { set(naslov_, v, Kontrola::Naslov); }

    int kartica() const { return kartica_; }
    void postaviKarticu(int v) { set(kartica_, v, Kontrola::Kartica); }

    // The selected source: 0 primary server, 1 network folder, 2 secondary server.
    int optLokacija() const { return optLokacija_; }
    void postaviOptLokacija(int v) { set(optLokacija_, v, Kontrola::OptLokacija); }

    // The captions of the two internet options.
    const QString& natpisOpcije(int i) const { return natpisiOpcija_[static_cast<size_t>(i)]; }
    void postaviNatpisOpcije(int i, const QString& v)
    {
        set(natpisiOpcija_[static_cast<size_t>(i)], v, Kontrola::OptLokacijaNatpisi);
    }

    // txtLokacija(0): the network source folder; txtLokacija(1): the distribution target.
    const QString& txtLokacija(int i) const { return txtLokacija_[static_cast<size_t>(i)]; }
    void postaviTxtLokacija(int i, const QString& v)
    {
        set(txtLokacija_[static_cast<size_t>(i)], v,
            i == 0 ? Kontrola::TxtLokacija0 : Kontrola::TxtLokacija1);
    }

    int numVrijemeDownloada() const { return numVrijemeDownloada_; }
    void postaviNumVrijemeDownloada(int v) { set(numVrijemeDownloada_, v, Kontrola::NumVrijemeDownloada); }

    bool cmdDownloadAndUpdateOmogućen() const { return cmdDownloadAndUpdate_; }
    void omogućiCmdDownloadAndUpdate(bool v)
    {
        set(cmdDownloadAndUpdate_, v, Kontrola::CmdDownloadAndUpdate);
    }

    // False while a long command runs: its buttons and the other long commands are disabled.
    bool dugeNaredbeOmogućene() const { return dugeNaredbe_; }
    void omogućiDugeNaredbe(bool v) { set(dugeNaredbe_, v, Kontrola::DugeNaredbe); }

    // Status-bar panels 1 ("Trenutna akcija") and 2 ("Trenutno stanje").
    const QString& panel1() const { return panel1_; }
    void postaviPanel1(const QString& v) { force(panel1_, v, Kontrola::Panel1); }
    const QString& panel2() const { return panel2_; }
    void postaviPanel2(const QString& v) { force(panel2_, v, Kontrola::Panel2); }

    // The two panes.
    const QString& txtPor() const { return txtPor_; }
    void postaviTxtPor(const QString& v) { force(txtPor_, v, Kontrola::TxtPor); }
    const QString& txtPorGr() const { return txtPorGr_; }
    void postaviTxtPorGr(const QString& v) { force(txtPorGr_, v, Kontrola::TxtPorGr); }

    // The grid fgAžuriranja: its data rows and the two sums of the "UKUPNO: " row.
    const QVector<RedMreže>& redovi() const { return redovi_; }
    qint64 ukupnoDownload() const { return ukupnoDownload_; }
    qint64 ukupnoStvarno() const { return ukupnoStvarno_; }
    void postaviMrežu(const QVector<RedMreže>& redovi, qint64 ukupnoDownload, qint64 ukupnoStvarno)
    {
        redovi_ = redovi;
        ukupnoDownload_ = ukupnoDownload;
        ukupnoStvarno_ = ukupnoStvarno;
        promijenjeno(Kontrola::Mreža);
    }
    // Marks one row and asks the view to scroll it into sight.
    void označiRed(int red, int slika, int ispuna)
    {
        if (red < 0 || red >= redovi_.size())
            return;
        redovi_[red].slika = slika;
        redovi_[red].ispuna = ispuna;
        vidljiviRed_ = red;
        promijenjeno(Kontrola::RedMreže);
    }
    int vidljiviRed() const { return vidljiviRed_; }

    // The progress bar progBar; the range is 64-bit and the view scales it to what it can show.
    bool progBarVidljiv() const { return progBarVidljiv_; }
    qint64 progBarMin() const { return progBarMin_; }
    qint64 progBarMax() const { return progBarMax_; }
    qint64 progBarVrijednost() const { return progBarVrijednost_; }
    void postaviProgBarRaspon(qint64 min, qint64 max)
    {
        progBarMin_ = min;
        progBarMax_ = max;
        promijenjeno(Kontrola::ProgBar);
    }
    void postaviProgBarVrijednost(qint64 v) { force(progBarVrijednost_, v, Kontrola::ProgBar); }
    void prikažiProgBar(bool v) { force(progBarVidljiv_, v, Kontrola::ProgBar); }

    const QString& lblVrijemePrijenosa() const { return lblVrijemePrijenosa_; }
    void postaviLblVrijemePrijenosa(const QString& v)
    {
        force(lblVrijemePrijenosa_, v, Kontrola::LblVrijemePrijenosa);
    }

    bool tmrPrijenosOmogućen() const { return tmrPrijenos_; }
    void omogućiTmrPrijenos(bool v) { set(tmrPrijenos_, v, Kontrola::TmrPrijenos); }

    // The window's background colour, 0x00BBGGRR.
    quint32 boja() const { return boja_; }
    void postaviBoju(quint32 v) { force(boja_, v, Kontrola::Boja); }

private:
    void promijenjeno(Kontrola k)
    {
        for (const auto& p : pratitelji_) p.second(k);
    }

    template <typename T>
    void set(T& field, const T& value, Kontrola k)
    {
        if (field == value)
            return;
        field = value;
        promijenjeno(k);
    }
    // Repaints even when the value is the same, as a control does when its text is set again.
    template <typename T>
    void force(T& field, const T& value, Kontrola k)
    {
        field = value;
        promijenjeno(k);
    }

    std::vector<std::pair<int, Pratitelj>> pratitelji_;
    int zadnjiPratitelj_ = 0;
    QString naslov_;
    int kartica_ = 0;
    int optLokacija_ = 0;
    std::array<QString, 3> natpisiOpcija_;
    std::array<QString, 2> txtLokacija_;
    int numVrijemeDownloada_ = 0;
    bool cmdDownloadAndUpdate_ = false;
    bool dugeNaredbe_ = true;
    QString panel1_;
    QString panel2_;
    QString txtPor_;
    QString txtPorGr_;
    QVector<RedMreže> redovi_;
    qint64 ukupnoDownload_ = 0;
    qint64 ukupnoStvarno_ = 0;
    int vidljiviRed_ = -1;
    bool progBarVidljiv_ = false;
    qint64 progBarMin_ = 0;
    qint64 progBarMax_ = 100;
    qint64 progBarVrijednost_ = 0;
    QString lblVrijemePrijenosa_;
    bool tmrPrijenos_ = false;
    quint32 boja_ = 14277323;
};
