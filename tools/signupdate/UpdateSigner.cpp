#include "UpdateSigner.h"

#include "catalogue/UpdateMessage.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <vector>

namespace {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct MdContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct PkeyContextFree {
    void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};
using Bio = std::unique_ptr<BIO, BioFree>;

std::string bioText(BIO* bio) {
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return size > 0 ? std::string(data, static_cast<std::size_t>(size)) : std::string();
}

} // namespace

void UpdateSigner::KeyFree::operator()(EVP_PKEY* key) const {
    EVP_PKEY_free(key);
}

UpdateSigner::KeyPair UpdateSigner::generateKeyPair() {
    std::unique_ptr<EVP_PKEY_CTX, PkeyContextFree> context(EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr));
    EVP_PKEY* raw = nullptr;
    if (!context || EVP_PKEY_keygen_init(context.get()) != 1 || EVP_PKEY_keygen(context.get(), &raw) != 1)
        return {};
    std::unique_ptr<EVP_PKEY, KeyFree> key(raw);
    Bio privateBio(BIO_new(BIO_s_mem())), publicBio(BIO_new(BIO_s_mem()));
    if (!privateBio || !publicBio ||
        PEM_write_bio_PrivateKey(privateBio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1 ||
        PEM_write_bio_PUBKEY(publicBio.get(), key.get()) != 1)
        return {};
    return {bioText(privateBio.get()), bioText(publicBio.get())};
}

UpdateSigner::UpdateSigner(std::string_view privateKeyPem) {
    Bio bio(BIO_new_mem_buf(privateKeyPem.data(), static_cast<int>(privateKeyPem.size())));
    if (!bio) return;
    key_.reset(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
    if (key_ && EVP_PKEY_get_id(key_.get()) != EVP_PKEY_ED25519) key_.reset();
}

UpdateSigner::~UpdateSigner() = default;

std::string UpdateSigner::publicKeyPem() const {
    Bio bio(BIO_new(BIO_s_mem()));
    if (!key_ || !bio || PEM_write_bio_PUBKEY(bio.get(), key_.get()) != 1) return {};
    return bioText(bio.get());
}

std::string UpdateSigner::sign(std::string_view version, std::string_view bytes) const {
    const std::string message = catalogue::signedUpdateMessage(version, bytes);
    std::unique_ptr<EVP_MD_CTX, MdContextFree> context(EVP_MD_CTX_new());
    unsigned char signature[64];
    std::size_t length = sizeof signature;
    if (!key_ || !context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key_.get()) != 1 ||
        EVP_DigestSign(context.get(), signature, &length,
                       reinterpret_cast<const unsigned char*>(message.data()), message.size()) != 1)
        return {};
    std::vector<unsigned char> text(4 * ((length + 2) / 3) + 1);
    const int written = EVP_EncodeBlock(text.data(), signature, static_cast<int>(length));
    return std::string(reinterpret_cast<const char*>(text.data()), static_cast<std::size_t>(written));
}

std::string UpdateSigner::updatePage(std::string_view version, std::string_view ftp, std::string_view date,
                                     std::string_view info, std::string_view signature) {
    std::string page = "[Main]\r\n";
    for (const auto& [key, value] : {std::pair{"Version", version},
                                     {"ftp", ftp},
                                     {"Date", date},
                                     {"Info", info},
                                     {"Signature", signature}}) {
        page += key;
        page += " = ";
        page += value;
        page += "\r\n";
    }
    return page;
}
