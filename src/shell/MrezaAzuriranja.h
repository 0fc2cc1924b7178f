#pragma once

#include <QTableWidget>

class ProzorModel;

// The grid fgAžuriranja of needed updates, drawn from the window model. Its fixed column (the row
// numbers) is the vertical header; the first row under the header is the "UKUPNO: " row; each data
// row carries its progress picture and is shaded to its progress.
class MrezaAzuriranja : public QTableWidget {
    Q_OBJECT
public:
    // Where a data row keeps its picture number and fill percentage (on its first cell).
    static constexpr int UlogaSlike = Qt::UserRole + 1;
    static constexpr int UlogaIspune = Qt::UserRole + 2;
    static constexpr int RedUkupno = 0;

    explicit MrezaAzuriranja(QWidget* parent = nullptr);

    // Rebuilds every row from the model.
    void prikaži(const ProzorModel& model);

    // Redraws one data row's mark and scrolls it into view.
    void osvježiRed(const ProzorModel& model, int red);

    // The picture shown for a progress mark (6: not processed yet).
    static QIcon slika(int broj);

    // What a progress mark says, in words for a screen reader: each cell of a data row carries it as
    // its accessible description, since the picture and the shading cannot be read.
    static QString opisStanja(int slika);

private:
    void označiStanje(int red, int slika);
};
