#pragma once

#include <QTableWidget>

class ProzorModel;

// The grid fgAžuriranja of needed updates, drawn from the window model.
class MrezaAzuriranja : public QTableWidget {
    Q_OBJECT
public:
    explicit MrezaAzuriranja(QWidget* parent = nullptr);

    // Rebuilds every row from the model.
    void prikaži(const ProzorModel& model);

    // Redraws one row's mark and scrolls it into view.
    void osvježiRed(const ProzorModel& model, int red);
};
