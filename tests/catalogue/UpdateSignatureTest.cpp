#include "catalogue/UpdateSignature.h"

#include "TempDir.h"
#include "UpdateSigner.h"
#include "base/AtomicFile.h"
#include "catalogue/UpdateMessage.h"
#include "catalogue/UpdatePublicKey.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

namespace {

// A public key of another algorithm (X25519) in PEM form.
std::string x25519PublicPem() {
    EVP_PKEY* key = EVP_PKEY_Q_keygen(nullptr, nullptr, "X25519");
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PUBKEY(bio, key);
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<std::size_t>(size));
    BIO_free(bio);
    EVP_PKEY_free(key);
    return pem;
}

class UpdateSignatureTest : public ::testing::Test {
  protected:
    UpdateSigner::KeyPair maker = UpdateSigner::generateKeyPair();
    UpdateSigner::KeyPair stranger = UpdateSigner::generateKeyPair();
    UpdateSigner signer{maker.privatePem};
    UpdateSignature checker{maker.publicPem};
    std::string bytes = std::string("#!/bin/sh\necho new version\n") + '\0' + "\xff tail";
};

} // namespace

TEST_F(UpdateSignatureTest, TheMakersSignatureForTheVersionAndTheExactBytesVerifies) {
    ASSERT_TRUE(checker.hasKey());
    const auto signature = signer.sign("2", bytes);
    ASSERT_EQ(signature.size(), 88u);
    EXPECT_TRUE(checker.verify("2", bytes, signature));

    TempDir dir;
    ASSERT_TRUE(base::writeFileAtomic(dir.path() / "new", bytes));
    EXPECT_TRUE(checker.verifyFile("2", dir.path() / "new", signature));
    EXPECT_FALSE(checker.verifyFile("2", dir.path() / "missing", signature));
    // An empty file has a signature of its own.
    ASSERT_TRUE(base::writeFileAtomic(dir.path() / "empty", ""));
    EXPECT_TRUE(checker.verifyFile("2", dir.path() / "empty", signer.sign("2", "")));
    EXPECT_FALSE(checker.verifyFile("2", dir.path() / "empty", signature));
}

TEST_F(UpdateSignatureTest, ASignatureHoldsForTheVersionItWasMadeForOnly) {
    const auto signature = signer.sign("2", bytes);
    for (const std::string& other :
         std::vector<std::string>{"3", "1", "2.0", "02", "2 ", "", std::string("2\0", 2)})
        EXPECT_FALSE(checker.verify(other, bytes, signature)) << other;
    // Moving a byte from the version into the file changes the message.
    EXPECT_FALSE(checker.verify("", "2" + bytes, signature));

    EXPECT_EQ(catalogue::signedUpdateMessage("2.5", std::string("a\0b", 3)), std::string("Brindle update\0"
                                                                                         "2.5\0"
                                                                                         "a\0b",
                                                                                         22));
}

TEST_F(UpdateSignatureTest, ChangedBytesForeignKeysAndMalformedSignaturesFail) {
    const auto signature = signer.sign("2", bytes);
    std::string changed = bytes;
    changed.back() ^= 1;
    EXPECT_FALSE(checker.verify("2", changed, signature));
    EXPECT_FALSE(checker.verify("2", bytes + "x", signature));

    EXPECT_FALSE(checker.verify("2", bytes, UpdateSigner(stranger.privatePem).sign("2", bytes)));
    EXPECT_FALSE(UpdateSignature(stranger.publicPem).verify("2", bytes, signature));

    std::string flipped = signature;
    flipped[10] = flipped[10] == 'A' ? 'B' : 'A';
    for (const std::string& bad :
         {std::string(), flipped, signature.substr(0, 86), signature + "==", " " + signature.substr(1),
          std::string(88, '='), signature.substr(0, 86) + "A=", std::string(88, '!')})
        EXPECT_FALSE(checker.verify("2", bytes, bad)) << bad;
}

TEST_F(UpdateSignatureTest, OnlyAnEd25519PublicKeyIsAccepted) {
    for (const std::string& key : {std::string(), std::string("not a key"), maker.privatePem,
                                   x25519PublicPem(), maker.publicPem.substr(0, 40)}) {
        const UpdateSignature wrong(key);
        EXPECT_FALSE(wrong.hasKey()) << key;
        EXPECT_FALSE(wrong.verify("2", bytes, signer.sign("2", bytes)));
    }
}

TEST(UpdatePublicKey, TheShippedKeyIsAnEd25519PublicKey) {
    EXPECT_TRUE(UpdateSignature(updatePublicKeyPem()).hasKey());
}

TEST(UpdateSigner, UpdatePageCarriesTheFiveKeysAndRefusesForeignKeys) {
    EXPECT_EQ(UpdateSigner::updatePage("2", "http://h/box/download/a.bin", "2026-12-07", "说明", "c2ln"),
              "[Main]\r\nVersion = 2\r\nftp = http://h/box/download/a.bin\r\nDate = 2026-12-07\r\n"
              "Info = 说明\r\nSignature = c2ln\r\n");
    const auto pair = UpdateSigner::generateKeyPair();
    EXPECT_EQ(UpdateSigner(pair.privatePem).publicKeyPem(), pair.publicPem);
    EXPECT_FALSE(UpdateSigner(pair.publicPem).hasKey());
    EXPECT_TRUE(UpdateSigner(pair.publicPem).sign("2", "x").empty());
}
