#pragma once

#include <QByteArray>
#include <QString>

// A private key and its certificate, both in PEM.
struct TlsIdentity {
    QByteArray certificate;
    QByteArray key;
};

// A certificate authority made afresh by the test, and server certificates that it signs or that sign
// themselves. `host` is an IP address ("127.0.0.1") or a DNS name; it becomes the certificate's
// subject and its only alternative name.
class TestCertificates {
public:
    TestCertificates();

    // The authority's certificate, for a trust store.
    const QByteArray& authority() const { return authority_.certificate; }

    // Valid from before now until `validDays` from now; a negative value gives one that has expired.
    TlsIdentity signedFor(const QString& host, int validDays = 30) const;
    // Signed with its own key: no trust store knows it.
    TlsIdentity selfSigned(const QString& host) const;

private:
    TlsIdentity authority_;
};
