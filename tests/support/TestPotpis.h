#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A minisign key pair made by the real minisign tool (Debian package minisign), without a password,
// in a folder of its own: `javni` is the public key file as the tool writes it, `tajni` the secret one.
struct TestKljuč {
    QString javni;
    QString tajni;

    // Makes the pair in `mapa` (created); false when the tool failed.
    bool napravi(const QString& mapa);
    // The public key file's text, and its base64 key line alone.
    QByteArray datotekaJavnog() const;
    QByteArray red() const;
};

// Runs the minisign tool with `argumenti`, feeding `ulaz` to its standard input; true on exit code 0.
bool Minisign(const QStringList& argumenti, const QByteArray& ulaz = QByteArray(), QString* izlaz = nullptr);

// Signs `datoteka` with the real tool into `datoteka` + ".minisig": "ED" by default, the legacy "Ed"
// with `legacy`; `komentar` replaces the tool's trusted comment when given.
bool PotpišiMinisignom(const TestKljuč& ključ, const QString& datoteka, const QString& komentar = QString(),
                       bool legacy = false);
