#include "catalogue/UpdateSignature.h"

#include "catalogue/UpdateMessage.h"

#include <fstream>
#include <iterator>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <optional>
#include <vector>

namespace {

constexpr std::size_t kSignatureBytes = 64;
// 64 bytes in base64: 86 characters and "==".
constexpr std::size_t kSignatureChars = 88;

struct MdContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};

// The 64 signature bytes, or nothing when text is not one base64 Ed25519 signature.
std::optional<std::vector<unsigned char>> decodeSignature(std::string_view text) {
    if (text.size() != kSignatureChars || !text.ends_with("==")) return std::nullopt;
    std::vector<unsigned char> bytes(kSignatureChars / 4 * 3);
    const int written = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                        static_cast<int>(text.size()));
    // EVP_DecodeBlock counts the two padding characters as bytes of value 0.
    if (written != static_cast<int>(bytes.size())) return std::nullopt;
    bytes.resize(kSignatureBytes);
    return bytes;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

} // namespace

void UpdateSignature::KeyFree::operator()(EVP_PKEY* key) const {
    EVP_PKEY_free(key);
}

UpdateSignature::UpdateSignature(std::string_view publicKeyPem) {
    std::unique_ptr<BIO, BioFree> bio(
        BIO_new_mem_buf(publicKeyPem.data(), static_cast<int>(publicKeyPem.size())));
    if (!bio) return;
    key_.reset(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
    // Only an Ed25519 key is the maker's: another algorithm would change what a signature means.
    if (key_ && EVP_PKEY_get_id(key_.get()) != EVP_PKEY_ED25519) key_.reset();
}

UpdateSignature::~UpdateSignature() = default;
UpdateSignature::UpdateSignature(UpdateSignature&&) noexcept = default;
UpdateSignature& UpdateSignature::operator=(UpdateSignature&&) noexcept = default;

bool UpdateSignature::verifyFile(std::string_view version, const std::filesystem::path& file,
                                 std::string_view signatureBase64) const {
    const auto bytes = readWholeFile(file);
    return bytes && verify(version, *bytes, signatureBase64);
}

bool UpdateSignature::verify(std::string_view version, std::string_view bytes,
                             std::string_view signatureBase64) const {
    if (!key_) return false;
    const auto signature = decodeSignature(signatureBase64);
    if (!signature) return false;
    const std::string message = catalogue::signedUpdateMessage(version, bytes);
    std::unique_ptr<EVP_MD_CTX, MdContextFree> context(EVP_MD_CTX_new());
    // Ed25519 signs the message itself (no separate digest), so the whole message goes in one call.
    return context && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key_.get()) == 1 &&
           EVP_DigestVerify(context.get(), signature->data(), signature->size(),
                            reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
}
