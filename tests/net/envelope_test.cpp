#include <gtest/gtest.h>

#include "net/envelope.h"

namespace tq {
namespace {

HttpResponse answer(std::int32_t status, std::string body, std::string error = "") {
    return HttpResponse{status, std::move(body), std::move(error)};
}

struct EnvelopeCase {
    const char* name;
    HttpResponse response;
    json envelope;
};

std::ostream& operator<<(std::ostream& out, const EnvelopeCase& c) {
    return out << c.name;
}

class Envelope : public ::testing::TestWithParam<EnvelopeCase> {};

TEST_P(Envelope, HoldsTheAnswerMembers) {
    const EnvelopeCase& c = GetParam();
    const json envelope = make_envelope(c.response);
    EXPECT_EQ(envelope, c.envelope) << envelope.dump();
    EXPECT_NO_THROW((void)envelope.dump());
}

const std::string kHtml = [] {
    std::string page = "<!doctype html><html><body>";
    while (page.size() < 2000) {
        page += "<p>Bad gateway</p>";
    }
    page.resize(2000);
    return page;
}();

INSTANTIATE_TEST_SUITE_P(
    Api, Envelope,
    ::testing::Values(
        EnvelopeCase{"no_answer",
                     answer(0, "", "WinHttpSendRequest failed: x"),
                     {{"ok", false}, {"status", 0}, {"error", "WinHttpSendRequest failed: x"}}},
        EnvelopeCase{"object_with_list",
                     answer(200, R"({"devices":[{"id":"a"}]})"),
                     {{"devices", {{{"id", "a"}}}}, {"ok", true}, {"status", 200}}},
        EnvelopeCase{"array_of_two_numbers",
                     answer(200, "[1,2]"),
                     {{"body", {1, 2}}, {"ok", true}, {"status", 200}}},
        EnvelopeCase{"empty_body", answer(200, ""), {{"ok", true}, {"status", 200}}},
        EnvelopeCase{"401_with_error",
                     answer(401, R"({"error":"token expired"})"),
                     {{"error", "token expired"}, {"ok", false}, {"status", 401}}},
        EnvelopeCase{"500_not_json",
                     answer(500, "oops <b>"),
                     {{"ok", false}, {"raw", "oops <b>"}, {"status", 500}}},
        EnvelopeCase{"502_html_page",
                     answer(502, kHtml),
                     {{"ok", false}, {"raw", kHtml.substr(0, 512)}, {"status", 502}}},
        EnvelopeCase{"404_empty", answer(404, ""), {{"ok", false}, {"status", 404}}},
        EnvelopeCase{"body_overrides_ok",
                     answer(200, R"({"ok":false,"error":"quota"})"),
                     {{"error", "quota"}, {"ok", false}, {"status", 200}}},
        EnvelopeCase{"body_overrides_status",
                     answer(201, R"({"status":"created"})"),
                     {{"ok", true}, {"status", "created"}}},
        EnvelopeCase{"error_member_not_a_string",
                     answer(400, R"({"error":{"code":7}})"),
                     {{"error", {{"code", 7}}}, {"ok", false}, {"status", 400}}},
        EnvelopeCase{"transport_error_wins",
                     answer(0, R"({"error":"backend"})", "reset"),
                     {{"error", "reset"}, {"ok", false}, {"status", 0}}},
        EnvelopeCase{"string_body",
                     answer(503, R"("down")"),
                     {{"body", "down"}, {"ok", false}, {"status", 503}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Envelope, RawTextIsAlwaysValidUtf8) {
    // A two-byte character straddling the limit is dropped whole.
    std::string body(511, 'a');
    body += "\xC3\xA9 and more";
    EXPECT_EQ(parse_body(answer(500, body))["raw"], std::string(511, 'a'));
    // A four-byte one that starts three bytes before it, likewise.
    body = std::string(509, 'b') + "\xF0\x9F\x98\x80" + "tail";
    EXPECT_EQ(parse_body(answer(500, body))["raw"], std::string(509, 'b'));
    // One that ends exactly at the limit stays.
    body = std::string(510, 'c') + "\xC3\xA9" + "{";
    EXPECT_EQ(parse_body(answer(500, body))["raw"], std::string(510, 'c') + "\xC3\xA9");
    // Ill-formed bytes are replaced, so the envelope always serialises.
    const json envelope = make_envelope(answer(500, "x\xFFy"));
    EXPECT_EQ(envelope["raw"], "x\xEF\xBF\xBDy");
    EXPECT_EQ(envelope.dump(), R"({"ok":false,"raw":"x)"
                               "\xEF\xBF\xBD"
                               R"(y","status":500})");
}

TEST(Envelope, ParseBodyKeepsEveryJsonType) {
    EXPECT_EQ(parse_body(answer(200, "")), json::object());
    EXPECT_EQ(parse_body(answer(200, " null ")), json(nullptr));
    EXPECT_EQ(parse_body(answer(200, "12.5")), json(12.5));
    EXPECT_EQ(parse_body(answer(200, "{\"a\":1} trailing")), json({{"raw", "{\"a\":1} trailing"}}));
}

TEST(Envelope, ErrorTextIsNeverEmpty) {
    EXPECT_EQ(error_text(answer(0, "", "WinHttpSendRequest failed: y"), json::object()),
              "WinHttpSendRequest failed: y");
    EXPECT_EQ(error_text(answer(409, ""), json{{"error", "email taken"}}), "email taken");
    EXPECT_EQ(error_text(answer(409, ""), json{{"error", ""}}), "HTTP 409");
    EXPECT_EQ(error_text(answer(503, ""), json::object()), "HTTP 503");
    EXPECT_EQ(error_text(answer(400, ""), json{{"error", 5}}), "HTTP 400");
    EXPECT_EQ(error_text(answer(0, ""), json::array()), "pedido falhou");
}

TEST(Envelope, StringMemberNeverFails) {
    EXPECT_EQ(string_member(json{{"device_id", "d-1"}}, "device_id"), "d-1");
    EXPECT_EQ(string_member(json{{"device_id", 7}}, "device_id"), "");
    EXPECT_EQ(string_member(json{{"other", "x"}}, "device_id"), "");
    EXPECT_EQ(string_member(json::array({"device_id"}), "device_id"), "");
    EXPECT_EQ(string_member(json(nullptr), "device_id"), "");
}

}  // namespace
}  // namespace tq
