#include "ui/bridge.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/test_support.h"

namespace tq::ui {
namespace {

class BridgeTest : public ::testing::Test {
  protected:
    BridgeTest() {
        bridge.add_method("app.info", [](const json& params) {
            return json{{"params_seen", params}, {"version", "0.2.0"}};
        });
        bridge.add_method("fail",
                          [](const json&) -> json { throw std::runtime_error("disk on fire"); });
        bridge.add_method("flag", [](const json& params) {
            return json{{"flag", params.value("flag", false)}};
        });
        bridge.add_method("latin1", [](const json&) { return json{{"name", "caf\xE9"}}; });
        bridge.add_method("latin1.error",
                          [](const json&) -> json { throw std::runtime_error("caf\xE9"); });
    }

    test::LogCapture log;
    Bridge bridge;
};

struct MessageCase {
    const char* name;
    std::string request;
    std::string response;
};

std::ostream& operator<<(std::ostream& out, const MessageCase& c) {
    return out << c.name;
}

class BridgeMessages : public BridgeTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(BridgeMessages, AnswersExactly) {
    EXPECT_EQ(bridge.handle_message(GetParam().request), GetParam().response);
}

INSTANTIATE_TEST_SUITE_P(
    Bridge, BridgeMessages,
    ::testing::Values(
        MessageCase{"no_params_gives_empty_object", R"({"id":1,"method":"app.info"})",
                    R"({"id":1,"result":{"params_seen":{},"version":"0.2.0"}})"},
        MessageCase{"string_wrapped_request", R"("{\"id\":1,\"method\":\"app.info\"}")",
                    R"({"id":1,"result":{"params_seen":{},"version":"0.2.0"}})"},
        MessageCase{"params_passed_unchanged",
                    R"({"id":2,"method":"app.info","params":[1,"x"],"extra":true})",
                    R"({"id":2,"result":{"params_seen":[1,"x"],"version":"0.2.0"}})"},
        MessageCase{"string_id", R"({"id":"a-1","method":"app.info","params":{}})",
                    R"({"id":"a-1","result":{"params_seen":{},"version":"0.2.0"}})"},
        MessageCase{"fractional_id", R"({"id":1.5,"method":"flag"})",
                    R"({"id":1.5,"result":{"flag":false}})"},
        MessageCase{"object_id", R"({"id":{"b":[2],"a":1},"method":"flag"})",
                    R"({"id":{"a":1,"b":[2]},"result":{"flag":false}})"},
        MessageCase{"missing_id_is_null", R"({"method":"flag","params":{"flag":true}})",
                    R"({"id":null,"result":{"flag":true}})"},
        MessageCase{"raw_utf8_in_output", R"({"id":3,"method":"app.info","params":"ol\u00e1"})",
                    "{\"id\":3,\"result\":{\"params_seen\":\"ol\xC3\xA1\",\"version\":\"0.2.0\"}}"},
        MessageCase{"method_case_sensitive", R"({"id":4,"method":"App.Info"})",
                    R"({"error":"unknown method: App.Info","id":4})"},
        MessageCase{"method_absent", R"({"id":5})", R"({"error":"unknown method: ","id":5})"},
        MessageCase{"handler_exception_text", R"({"id":6,"method":"fail"})",
                    R"({"error":"disk on fire","id":6})"},
        MessageCase{
            "params_null_read_as_object", R"({"id":7,"method":"flag","params":null})",
            R"({"error":"[json.exception.type_error.306] cannot use value() with null","id":7})"},
        MessageCase{
            "member_of_wrong_type", R"({"id":8,"method":"flag","params":{"flag":"yes"}})",
            R"({"error":"[json.exception.type_error.302] type must be boolean, but is string","id":8})"},
        MessageCase{
            "method_not_a_string", R"({"id":9,"method":5})",
            R"({"error":"[json.exception.type_error.302] type must be string, but is number","id":9})"},
        MessageCase{
            "invalid_utf8_result_is_an_error", R"({"id":10,"method":"latin1"})",
            R"({"error":"[json.exception.type_error.316] incomplete UTF-8 string; last byte: 0xE9","id":10})"},
        MessageCase{"invalid_utf8_error_text_replaced", R"({"id":11,"method":"latin1.error"})",
                    "{\"error\":\"caf\xEF\xBF\xBD\",\"id\":11}"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BridgeTest, MalformedMessagesGetOneAnswerAndOneWarning) {
    const std::string malformed[] = {
        "",
        "not json",
        "[1,2]",
        "42",
        "true",
        "null",
        R"("oops")",
        R"("[1]")",
        "{\"id\":1} trailing",
        "{/*c*/}",
        R"("\"{\\\"id\\\":1,\\\"method\\\":\\\"app.info\\\"}\"")",
    };
    for (const std::string& text : malformed) {
        EXPECT_EQ(bridge.handle_message(text), R"({"error":"malformed request","id":null})")
            << text;
    }
    const auto lines = log.messages();
    ASSERT_EQ(lines.size(), std::size(malformed));
    for (const std::string& line : lines) {
        EXPECT_EQ(line, "[WARN ] Bridge received malformed message");
    }
}

TEST_F(BridgeTest, LogsDispatchAndHandlerFailures) {
    bridge.handle_message(R"({"id":1,"method":"app.info"})");
    bridge.handle_message(R"({"id":2,"method":"nope"})");
    bridge.handle_message(R"({"id":3,"method":"fail"})");
    bridge.handle_message(R"({"id":4,"method":7})");
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{
                  "[DEBUG] Bridge -> app.info",
                  "[DEBUG] Bridge -> fail",
                  "[ERROR] Bridge handler 'fail' threw: disk on fire",
                  "[ERROR] Bridge handler '7' threw: [json.exception.type_error.302] type must "
                  "be string, but is number",
              }));
}

TEST_F(BridgeTest, LaterRegistrationReplacesHandler) {
    bridge.add_method("app.info", [](const json&) { return json("second"); });
    EXPECT_EQ(bridge.handle_message(R"({"id":1,"method":"app.info"})"),
              R"({"id":1,"result":"second"})");
}

TEST_F(BridgeTest, EmitWithoutSenderDoesNothing) {
    EXPECT_NO_THROW(bridge.emit("inventory.result", json{{"a", 1}}));
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(BridgeTest, EmitBuildsSortedCompactEvent) {
    std::vector<std::string> sent;
    bridge.set_sender([&sent](const std::string& text) { sent.push_back(text); });
    bridge.emit("updates.result", json{{"z", 1}, {"a", "\xC3\xA9"}});
    bridge.emit("inventory.uploaded", nullptr);
    EXPECT_EQ(sent, (std::vector<std::string>{
                        "{\"data\":{\"a\":\"\xC3\xA9\",\"z\":1},\"event\":\"updates.result\"}",
                        R"({"data":null,"event":"inventory.uploaded"})"}));
}

TEST_F(BridgeTest, EmitDropsUnserialisableEventWithErrorLine) {
    std::vector<std::string> sent;
    bridge.set_sender([&sent](const std::string& text) { sent.push_back(text); });
    EXPECT_NO_THROW(bridge.emit("inventory.result", json{{"model", "\xFF"}}));
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{"[ERROR] Bridge failed to emit inventory.result: "
                                        "[json.exception.type_error.316] invalid UTF-8 byte at "
                                        "index 0: 0xFF"}));
}

}  // namespace
}  // namespace tq::ui
