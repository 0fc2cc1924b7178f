#include "support/TestCertificates.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <QHostAddress>
#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Freer<EVP_PKEY, EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Freer<X509, X509_free>>;
using Bio = std::unique_ptr<BIO, Freer<BIO, BIO_free_all>>;

void check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string("OpenSSL: ") + what);
}

Key newKey()
{
    Key key(EVP_EC_gen("P-256"));
    check(key != nullptr, "EVP_EC_gen");
    return key;
}

QByteArray pem(const std::function<int(BIO*)>& write)
{
    Bio bio(BIO_new(BIO_s_mem()));
    check(bio && write(bio.get()) == 1, "PEM write");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, static_cast<qsizetype>(size));
}

Key readKey(const QByteArray& text)
{
    Bio bio(BIO_new_mem_buf(text.constData(), static_cast<int>(text.size())));
    Key key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
    check(key != nullptr, "PEM_read_bio_PrivateKey");
    return key;
}

Certificate readCertificate(const QByteArray& text)
{
    Bio bio(BIO_new_mem_buf(text.constData(), static_cast<int>(text.size())));
    Certificate certificate(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    check(certificate != nullptr, "PEM_read_bio_X509");
    return certificate;
}

void addExtension(X509* certificate, X509* issuer, int nid, const std::string& value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    check(extension != nullptr, "X509V3_EXT_conf_nid");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

// A certificate for `subject`, signed by `issuerKey` under `issuer` (itself when null).
TlsIdentity make(const QString& subject, bool authority, int validDays, const X509* issuer,
                 EVP_PKEY* issuerKey)
{
    static long serial = 1;
    Key key = newKey();
    Certificate certificate(X509_new());
    X509* c = certificate.get();
    X509_set_version(c, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c), serial++);
    X509_gmtime_adj(X509_getm_notBefore(c), std::min(-1, validDays - 30) * 24L * 3600);
    X509_gmtime_adj(X509_getm_notAfter(c), validDays * 24L * 3600);
    X509_set_pubkey(c, key.get());
    const std::string name = subject.toStdString();
    X509_NAME* subjectName = X509_get_subject_name(c);
    X509_NAME_add_entry_by_txt(subjectName, "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>(name.c_str()), -1, -1, 0);
    X509_set_issuer_name(c, issuer ? X509_get_subject_name(issuer) : subjectName);
    X509* issuerForExtensions = issuer ? const_cast<X509*>(issuer) : c;
    if (authority) {
        addExtension(c, issuerForExtensions, NID_basic_constraints, "critical,CA:TRUE");
        addExtension(c, issuerForExtensions, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        const bool ip = !QHostAddress(subject).isNull();
        addExtension(c, issuerForExtensions, NID_basic_constraints, "critical,CA:FALSE");
        addExtension(c, issuerForExtensions, NID_subject_alt_name, (ip ? "IP:" : "DNS:") + name);
        addExtension(c, issuerForExtensions, NID_ext_key_usage, "serverAuth");
    }
    check(X509_sign(c, issuerKey ? issuerKey : key.get(), EVP_sha256()) > 0, "X509_sign");

    TlsIdentity identity;
    identity.certificate = pem([&](BIO* b) { return PEM_write_bio_X509(b, c); });
    identity.key = pem([&](BIO* b) {
        return PEM_write_bio_PrivateKey(b, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    return identity;
}

}  // namespace

TestCertificates::TestCertificates()
    : authority_(make(QStringLiteral("Lumivex test CA"), true, 30, nullptr, nullptr))
{
}

TlsIdentity TestCertificates::signedFor(const QString& host, int validDays) const
{
    const Certificate issuer = readCertificate(authority_.certificate);
    const Key issuerKey = readKey(authority_.key);
    return make(host, false, validDays, issuer.get(), issuerKey.get());
}

TlsIdentity TestCertificates::selfSigned(const QString& host) const
{
    return make(host, false, 30, nullptr, nullptr);
}
