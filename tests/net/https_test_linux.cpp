// HTTPS against a real TLS server on loopback, with a certificate made for
// the test. Only the Linux build carries the server library.

#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <thread>

#include "net/api_client.h"
#include "support/test_support.h"
#include "util/fs.h"

namespace tq {
namespace {

bool add_extension(X509* certificate, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (extension == nullptr) {
        return false;
    }
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

// A self-signed certificate for 127.0.0.1, valid for an hour, and its key.
bool make_certificate(const std::string& certificate_path, const std::string& key_path) {
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), X509_free);
    if (!key || !certificate) {
        return false;
    }
    X509* cert = certificate.get();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -60);
    X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
    X509_set_pubkey(cert, key.get());
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    if (!add_extension(cert, NID_subject_alt_name, "IP:127.0.0.1") ||
        !add_extension(cert, NID_basic_constraints, "critical,CA:TRUE") ||
        X509_sign(cert, key.get(), EVP_sha256()) == 0) {
        return false;
    }
    FILE* out = std::fopen(certificate_path.c_str(), "w");
    const bool cert_written = out != nullptr && PEM_write_X509(out, cert) == 1;
    if (out != nullptr) {
        std::fclose(out);
    }
    out = std::fopen(key_path.c_str(), "w");
    const bool key_written =
        out != nullptr &&
        PEM_write_PrivateKey(out, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    if (out != nullptr) {
        std::fclose(out);
    }
    return cert_written && key_written;
}

class Https : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(make_certificate(certificate_, key_));
        server_ = std::make_unique<httplib::SSLServer>(certificate_.c_str(), key_.c_str());
        ASSERT_TRUE(server_->is_valid());
        server_->Post("/api/auth/login",
                      [this](const httplib::Request& request, httplib::Response& response) {
                          body_ = request.body;
                          authorization_ = request.get_header_value("Authorization");
                          response.set_content(R"({"access_token":"a1"})", "application/json");
                      });
        port_ = server_->bind_to_any_port("127.0.0.1");
        ASSERT_GT(port_, 0);
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        while (!server_->is_running()) {
            std::this_thread::yield();
        }
    }

    void TearDown() override {
        if (server_) {
            server_->stop();
        }
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    std::string base_url() const { return "https://127.0.0.1:" + std::to_string(port_) + "/api/"; }

    test::TempDir dir_;
    const std::string certificate_ = path_to_utf8(dir_ / "server.pem");
    const std::string key_ = path_to_utf8(dir_ / "server.key");
    std::unique_ptr<httplib::SSLServer> server_;
    std::thread thread_;
    int port_ = 0;
    std::string body_;
    std::string authorization_;
};

TEST_F(Https, TrustedServerAnswers) {
    HttpClientOptions options;
    options.test_ca_file = certificate_;
    HttpClient client(base_url(), options);
    client.set_access_token("t-9");
    const HttpResponse response = ApiClient::login(client, "ana@example.com", "pw");
    EXPECT_EQ(response.error, "");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, R"({"access_token":"a1"})");
    EXPECT_EQ(body_, R"({"email":"ana@example.com","password":"pw"})");
    EXPECT_EQ(authorization_, "Bearer t-9");
}

// Without the test's certificate the system's store decides, and it does
// not know this one: the exchange fails before anything is sent.
TEST_F(Https, UntrustedCertificateIsASendFailure) {
    HttpClient client(base_url());
    const HttpResponse response = ApiClient::login(client, "ana@example.com", "pw");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.error.rfind("WinHttpSendRequest failed: ", 0), 0u) << response.error;
    EXPECT_EQ(body_, "");
}

}  // namespace
}  // namespace tq
