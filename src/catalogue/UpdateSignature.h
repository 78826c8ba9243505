#pragma once
// Checks that a downloaded new version was signed by the maker for the version the update page
// announces: an Ed25519 signature (base64, as the page carries it) over the message of
// UpdateMessage.h (the version text and the file's bytes), against the maker's public key. The
// cryptography is OpenSSL's.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

typedef struct evp_pkey_st EVP_PKEY;

class UpdateSignature {
  public:
    // publicKeyPem: an Ed25519 public key in PEM form ("-----BEGIN PUBLIC KEY-----"). Any other
    // text or key type leaves the checker without a key, and then nothing verifies.
    explicit UpdateSignature(std::string_view publicKeyPem);
    ~UpdateSignature();
    UpdateSignature(UpdateSignature&&) noexcept;
    UpdateSignature& operator=(UpdateSignature&&) noexcept;

    bool hasKey() const { return key_ != nullptr; }

    // True only when signatureBase64 decodes to exactly one 64-byte signature and it verifies with
    // the key over version and the whole content of file. A missing or unreadable file, an empty or
    // malformed signature, one made with another key or for another version give false.
    bool verifyFile(std::string_view version, const std::filesystem::path& file,
                    std::string_view signatureBase64) const;
    bool verify(std::string_view version, std::string_view bytes, std::string_view signatureBase64) const;

  private:
    struct KeyFree {
        void operator()(EVP_PKEY* key) const;
    };
    std::unique_ptr<EVP_PKEY, KeyFree> key_;
};
