#include "shell/QtDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

Dialogs::Answer QtDialogs::show(Icon icon, const QString& caption, const QString& text, Buttons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(caption);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString QtDialogs::chooseFile(const FileRequest& request)
{
    QFileDialog dialog(parent_, request.title, request.initialFolder, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.fileName);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString izabrano = dialog.selectedFiles().constFirst();
        // The file may be any name, but its folder must exist: the caller keeps only the folder.
        const QDir mapa = QFileInfo(izabrano).absoluteDir();
        if (mapa.exists())
            return izabrano;
        QMessageBox::warning(parent_, request.title,
                             QStringLiteral("Putanja ") + QDir::toNativeSeparators(mapa.path()) +
                                 QStringLiteral(" ne postoji.\nProvjerite je li putanja ispravno upisana."));
    }
    return QString();
}

std::optional<Dialogs::Credentials> QtDialogs::askProxyCredentials(const QString& proxy, bool again)
{
    QDialog dialog(parent_);
    dialog.setWindowTitle(QStringLiteral("Prijava na proxy poslužitelj"));
    auto* tekst =
        new QLabel(again ? QStringLiteral("Proxy poslužitelj ") + proxy +
                               QStringLiteral(" nije prihvatio korisničko ime i lozinku. Upišite ih ponovno.")
                         : QStringLiteral("Proxy poslužitelj ") + proxy +
                               QStringLiteral(" traži korisničko ime i lozinku."));
    tekst->setWordWrap(true);
    auto* korisnik = new QLineEdit;
    korisnik->setObjectName(QStringLiteral("korisnik"));
    auto* lozinka = new QLineEdit;
    lozinka->setObjectName(QStringLiteral("lozinka"));
    lozinka->setEchoMode(QLineEdit::Password);
    auto* polja = new QFormLayout;
    polja->addRow(QStringLiteral("Korisničko ime:"), korisnik);
    polja->addRow(QStringLiteral("Lozinka:"), lozinka);
    auto* gumbi = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    gumbi->button(QDialogButtonBox::Ok)->setText(QStringLiteral("U redu"));
    gumbi->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Odustani"));
    QObject::connect(gumbi, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(gumbi, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* raspored = new QVBoxLayout(&dialog);
    raspored->addWidget(tekst);
    raspored->addLayout(polja);
    raspored->addWidget(gumbi);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Credentials{korisnik->text(), lozinka->text()};
}
