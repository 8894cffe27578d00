// The receiver's behaviour towards acknowledgements, stepped through time by hand.
#include "link_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace duri::sim {
namespace {

constexpr char kAckChar = 6;

class LinkProtocolTest : public ::testing::Test {
 protected:
  LinkProtocol Make(bool heartbeat = true, bool polls = false) {
    LinkOptions options;
    options.heartbeat_interval_ms = 30000;
    return LinkProtocol(
        kAckChar, polls, options, [heartbeat] { return std::string(heartbeat ? "HB\r" : ""); },
        [] { return std::string("ST\r"); });
  }

  // What the protocol puts on the line at now, "" for nothing; marks it sent.
  std::string Step(LinkProtocol& p, int64_t now) {
    const OutMessage* m = p.NextToSend(now);
    if (m == nullptr) return "";
    std::string bytes = m->bytes;
    p.Sent(now);
    return bytes;
  }
};

TEST_F(LinkProtocolTest, StartsWithHeartbeatsUntilTheComputerAnswers) {
  LinkProtocol p = Make();
  p.QueueEvent("EV1\r", 0);
  EXPECT_EQ(Step(p, 0), "HB\r");  // the station only synchronises on the first message
  EXPECT_EQ(Step(p, 3999), "");
  EXPECT_EQ(Step(p, 4000), "HB\r");
  p.OnReceived(std::string(1, kAckChar), 4100);
  EXPECT_TRUE(p.linked());
  EXPECT_EQ(Step(p, 4100), "EV1\r");
  p.OnReceived(std::string(1, kAckChar), 4130);
  EXPECT_TRUE(p.EventsDone());
  EXPECT_EQ(p.counts().sent, 1);
  EXPECT_EQ(p.counts().acknowledged, 1);
  EXPECT_EQ(p.counts().resent, 0);
  EXPECT_EQ(p.counts().heartbeats_sent, 2);
  ASSERT_EQ(p.counts().ack_latency_ms.size(), 1u);
  EXPECT_EQ(p.counts().ack_latency_ms[0], 30);
}

TEST_F(LinkProtocolTest, ThreeResendsThenComputerFailUntilAHeartbeatIsAnswered) {
  LinkProtocol p = Make();
  Step(p, 0);
  p.OnReceived(std::string(1, kAckChar), 10);
  p.QueueEvent("EV1\r", 0);
  p.QueueEvent("EV2\r", 1);
  EXPECT_EQ(Step(p, 10), "EV1\r");
  EXPECT_EQ(Step(p, 20), "");  // one message at a time
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(Step(p, 10 + 4000 * i), "EV1\r") << "resend " << i;
  EXPECT_EQ(p.counts().resent, 3);
  // The third resend goes unanswered too: computer fail, heartbeats only, one per time-out.
  EXPECT_EQ(Step(p, 16010), "HB\r");
  EXPECT_FALSE(p.linked());
  EXPECT_EQ(p.counts().computer_fail, 1);
  EXPECT_EQ(Step(p, 18000), "");
  EXPECT_EQ(Step(p, 20010), "HB\r");
  EXPECT_EQ(p.EventsPending(), 2);  // kept, not dropped
  p.OnReceived(std::string(1, kAckChar), 20500);
  EXPECT_TRUE(p.linked());
  EXPECT_EQ(Step(p, 20500), "EV1\r");
  p.OnReceived(std::string(1, kAckChar), 20600);
  EXPECT_EQ(Step(p, 20600), "EV2\r");
  p.OnReceived(std::string(1, kAckChar), 20700);
  EXPECT_TRUE(p.EventsDone());
  EXPECT_EQ(p.counts().sent, 2);
  EXPECT_EQ(p.counts().acknowledged, 2);
  EXPECT_EQ(p.counts().resent, 4);
}

TEST_F(LinkProtocolTest, StatusPollIsAnsweredBeforeWaitingEventsAndStrayAcksAreCounted) {
  LinkProtocol p = Make(true, true);
  Step(p, 0);
  p.OnReceived(std::string(1, kAckChar), 10);
  p.QueueEvent("EV1\r", 0);
  p.OnReceived("SS", 10);  // two polls before the answer: one report
  EXPECT_EQ(Step(p, 10), "ST\r");
  p.OnReceived(std::string(1, kAckChar), 20);
  EXPECT_EQ(Step(p, 20), "EV1\r");
  p.OnReceived(std::string(2, kAckChar), 30);
  EXPECT_EQ(p.counts().status_sent, 1);
  EXPECT_EQ(p.counts().status_acknowledged, 1);
  EXPECT_EQ(p.counts().unexpected_acks, 1);
  EXPECT_EQ(Step(p, 40), "");
}

TEST_F(LinkProtocolTest, HeartbeatAfterSilenceOnly) {
  LinkProtocol p = Make();
  Step(p, 0);
  p.OnReceived(std::string(1, kAckChar), 0);
  EXPECT_EQ(Step(p, 29999), "");
  EXPECT_EQ(p.NextDeadline(29999), 30000);
  EXPECT_EQ(Step(p, 30000), "HB\r");
}

TEST_F(LinkProtocolTest, ModelWithoutLinkTestStartsLinkedAndKeepsRetryingItsEvents) {
  LinkProtocol p = Make(false);
  EXPECT_TRUE(p.linked());
  p.QueueEvent("EV1\r", 0);
  EXPECT_EQ(Step(p, 0), "EV1\r");
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(Step(p, 4000 * i), "EV1\r");
  EXPECT_EQ(p.counts().computer_fail, 1);
  EXPECT_TRUE(p.linked());
  p.OnReceived(std::string(1, kAckChar), 16001);
  EXPECT_TRUE(p.EventsDone());
}

TEST_F(LinkProtocolTest, BurstSendsSeveralBeforeWaitingAndResendsWhatWasNotAnswered) {
  LinkOptions options;
  options.window = 3;
  LinkProtocol p(kAckChar, false, options, [] { return std::string(""); }, nullptr);
  for (int i = 0; i < 3; ++i) p.QueueEvent("EV" + std::to_string(i) + "\r", i);
  EXPECT_EQ(Step(p, 0), "EV0\r");
  EXPECT_EQ(Step(p, 0), "EV1\r");
  EXPECT_EQ(Step(p, 0), "EV2\r");
  // One pass decoded all three and acknowledged once.
  p.OnReceived(std::string(1, kAckChar), 50);
  EXPECT_EQ(Step(p, 4000), "EV1\r");
  EXPECT_EQ(Step(p, 4000), "");  // a resent message waits for its answer before the next
  p.OnReceived(std::string(1, kAckChar), 4050);
  EXPECT_EQ(Step(p, 4050), "EV2\r");
  p.OnReceived(std::string(1, kAckChar), 4100);
  EXPECT_TRUE(p.EventsDone());
  EXPECT_EQ(p.counts().resent, 2);
}

}  // namespace
}  // namespace duri::sim
