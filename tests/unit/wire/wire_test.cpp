// The wire library on its own: Base64 and RC4 against known vectors and at
// their edges, zlib streams that fit, overflow or arrive damaged, both frame
// headers, the bounded packet readers and writers, and the login request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base64.h"
#include "framing.h"
#include "packet.h"
#include "protocol.h"
#include "rc4.h"
#include "sync_packets.h"
#include "zlib_codec.h"

namespace {

std::string encode(const std::string& bytes, size_t capacity = 1024) {
  std::string out(capacity, '\0');
  out.resize(wire::base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &out[0], capacity));
  return out;
}

std::string decode(const std::string& text, size_t capacity = 1024) {
  std::string out(capacity, '\0');
  out.resize(wire::base64Decode(text.data(), text.size(), reinterpret_cast<uint8_t*>(&out[0]), capacity));
  return out;
}

TEST(Base64, EncodesWholeAndPaddedGroups) {
  const struct {
    std::string bytes, text;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\0\xff\xfe", 3), "AP/+"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(encode(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(decode(c.text), c.bytes) << c.text;
  }
}

TEST(Base64, ThreeBytesGiveFourCharactersTwoGiveThreeAndOnePad) {
  EXPECT_EQ(encode("abc").size(), 4u);
  const std::string two = encode("ab");
  ASSERT_EQ(two.size(), 4u);
  EXPECT_EQ(two.find('='), 3u);
}

TEST(Base64, DecodingEdges) {
  EXPECT_EQ(decode("QUI=").size(), 2u);  // one pad: two bytes
  EXPECT_EQ(decode("QQ=="), "A");
  EXPECT_EQ(decode("QUJD"), "ABC");
  EXPECT_EQ(decode("QUJDRA"), "ABCD");  // a short last group carries what it has
  EXPECT_EQ(decode("Q"), "");
  EXPECT_EQ(decode("QUJDRA==QUJD"), "ABCDABC");  // padded groups may follow one another
  EXPECT_EQ(decode("!!!!").size(), 3u);          // outside the alphabet counts as zero
  EXPECT_EQ(decode("!!!!"), std::string(3, '\0'));
}

TEST(Base64, StopsAtTheEndOfItsBuffer) {
  EXPECT_EQ(encode("abcdef", 7), "YWJj");  // a second group would pass 7 characters
  EXPECT_EQ(encode("abcdef", 3), "");
  EXPECT_EQ(decode("QUJDREVG", 4), "ABCD");
}

TEST(Rc4, MatchesKnownVectorsAndUndoesItself) {
  const struct {
    std::string key, plain;
    std::vector<uint8_t> cipher;
  } cases[] = {
      {"Key", "Plaintext", {0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}},
      {"Wiki", "pedia", {0x10, 0x21, 0xBF, 0x04, 0x20}},
      {"Secret",
       "Attack at dawn",
       {0x45, 0xA0, 0x1F, 0x64, 0x5F, 0xC3, 0x5B, 0x38, 0x35, 0x52, 0x54, 0x4B, 0x9B, 0xF5}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> data(c.plain.begin(), c.plain.end());
    wire::rc4Transform(reinterpret_cast<const uint8_t*>(c.key.data()), c.key.size(), data.data(), data.size());
    EXPECT_EQ(data, c.cipher) << c.key;
    wire::rc4Transform(reinterpret_cast<const uint8_t*>(c.key.data()), c.key.size(), data.data(), data.size());
    EXPECT_EQ(std::string(data.begin(), data.end()), c.plain);
  }
}

TEST(Rc4, EmptyKeyLeavesTheData) {
  uint8_t data[] = {1, 2, 3};
  wire::rc4Transform(nullptr, 0, data, 3);
  EXPECT_EQ(data[0], 1);
  EXPECT_EQ(data[2], 3);
}

std::vector<uint8_t> sample(size_t n) {
  std::vector<uint8_t> data(n);
  for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>("row;1;ABC;2026-12-09\n"[i % 21]);
  return data;
}

TEST(Zlib, WholeStreamRoundTrip) {
  const std::vector<uint8_t> data = sample(11000);
  std::vector<uint8_t> packed(wire::kBufferSize), back(wire::kBufferSize);
  const wire::Deflated d = wire::deflateWhole(data.data(), data.size(), packed.data(), packed.size());
  ASSERT_EQ(d.status, wire::DeflateStatus::Ok);
  EXPECT_LT(d.size, data.size() / 10);
  const wire::Inflated i = wire::inflateLimited(packed.data(), d.size, back.data(), back.size());
  ASSERT_EQ(i.status, wire::InflateStatus::Complete);
  ASSERT_EQ(i.size, data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin()));
}

TEST(Zlib, OutputThatDoesNotFitIsReportedNotCut) {
  std::vector<uint8_t> noise(4000);
  uint32_t x = 12345;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
  std::vector<uint8_t> out(1000);
  EXPECT_EQ(wire::deflateWhole(noise.data(), noise.size(), out.data(), out.size()).status,
            wire::DeflateStatus::OutputFull);
  EXPECT_EQ(wire::deflateFlushed(noise.data(), noise.size(), out.data(), out.size()).status,
            wire::DeflateStatus::OutputFull);
}

TEST(Zlib, FlushedStreamInflates) {
  const std::vector<uint8_t> data = sample(3000);
  std::vector<uint8_t> packed(6144), back(wire::kBufferSize);
  const wire::Deflated d = wire::deflateFlushed(data.data(), data.size(), packed.data(), packed.size());
  ASSERT_EQ(d.status, wire::DeflateStatus::Ok);
  // A sync-flushed stream has no end marker: all its bytes come out, and
  // the stream reads as cut short.
  const wire::Inflated i = wire::inflateLimited(packed.data(), d.size, back.data(), back.size());
  EXPECT_EQ(i.size, data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin()));
}

TEST(Zlib, LimitDamageAndGarbage) {
  const std::vector<uint8_t> data = sample(5000);
  std::vector<uint8_t> packed(wire::kBufferSize), back(wire::kBufferSize);
  const wire::Deflated d = wire::deflateWhole(data.data(), data.size(), packed.data(), packed.size());
  ASSERT_EQ(d.status, wire::DeflateStatus::Ok);

  const wire::Inflated cut = wire::inflateLimited(packed.data(), d.size, back.data(), 100);
  EXPECT_EQ(cut.status, wire::InflateStatus::Truncated);
  EXPECT_EQ(cut.size, 100u);

  EXPECT_EQ(wire::inflateLimited(packed.data(), d.size / 2, back.data(), back.size()).status,
            wire::InflateStatus::Damaged);
  std::vector<uint8_t> broken(packed.begin(), packed.begin() + static_cast<long>(d.size));
  broken[d.size / 2] ^= 0x55;
  broken[d.size / 2 + 1] ^= 0xAA;
  EXPECT_NE(wire::inflateLimited(broken.data(), broken.size(), back.data(), back.size()).status,
            wire::InflateStatus::Complete);
  const uint8_t garbage[] = {'n', 'o', 't', ' ', 'z', 'l', 'i', 'b'};
  EXPECT_EQ(wire::inflateLimited(garbage, sizeof garbage, back.data(), back.size()).status,
            wire::InflateStatus::Damaged);
}

TEST(Framing, ClientHeaderNamesItsByteOrder) {
  uint8_t h[3];
  wire::writeClientHeader(h, 0x0102, wire::Order::Big);
  EXPECT_EQ(h[0], 'B');
  EXPECT_EQ(h[1], 0x01);
  EXPECT_EQ(h[2], 0x02);
  wire::writeClientHeader(h, 0x0102, wire::Order::Little);
  EXPECT_EQ(h[0], 'L');
  EXPECT_EQ(h[1], 0x02);
  EXPECT_EQ(h[2], 0x01);
}

TEST(Framing, ServerReadsDeviceHeaders) {
  const struct {
    uint8_t bytes[3];
    wire::HeaderStatus status;
    uint16_t length;
  } cases[] = {
      {{'B', 0x2E, 0xE0}, wire::HeaderStatus::Ok, 12000},    {{'B', 0x2E, 0xE1}, wire::HeaderStatus::TooLong, 12001},
      {{'L', 0xE0, 0x2E}, wire::HeaderStatus::Ok, 12000},    {{'B', 0x00, 0x00}, wire::HeaderStatus::Ok, 0},
      {{'X', 0x00, 0x03}, wire::HeaderStatus::BadMarker, 0},
  };
  for (const auto& c : cases) {
    uint16_t length = 0;
    wire::Order order;
    EXPECT_EQ(wire::readClientHeader(c.bytes, length, order), c.status);
    if (c.status != wire::HeaderStatus::BadMarker) {
      EXPECT_EQ(length, c.length);
    }
  }
}

TEST(Packet, WriterRefusesWhatPassesItsBufferAndStaysRefused) {
  uint8_t buffer[8];
  wire::PacketWriter w(buffer, sizeof buffer, wire::Order::Big);
  EXPECT_TRUE(w.writeUShort(0x0102));
  EXPECT_TRUE(w.writeString("abc"));
  EXPECT_FALSE(w.writeInt(7));   // 6 + 4 > 8
  EXPECT_FALSE(w.writeByte(1));  // would fit, but the packet is already broken
  EXPECT_FALSE(w.ok());
  EXPECT_EQ(w.position(), 6u);
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ(buffer[5], 0);
}

TEST(Packet, ReaderStopsAtItsEnd) {
  const uint8_t data[] = {0x00, 0x01, 'h', 'i', 0, 0xAB, 'x', 'y'};
  wire::PacketReader r(data, sizeof data, wire::Order::Big);
  EXPECT_EQ(r.readUShort(), 1);
  EXPECT_EQ(r.readString(), "hi");
  EXPECT_EQ(r.readByte(), 0xAB);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.readString(), "xy");  // no zero byte before the end
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.readInt(), 0);
  EXPECT_EQ(r.readString(), "");
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(Packet, NumbersInBothOrders) {
  uint8_t buffer[6];
  for (wire::Order order : {wire::Order::Big, wire::Order::Little}) {
    wire::PacketWriter w(buffer, sizeof buffer, order);
    w.writeInt(-2);
    w.writeUShort(0xBEEF);
    wire::PacketReader r(buffer, w.position(), order);
    EXPECT_EQ(r.readInt(), -2);
    EXPECT_EQ(r.readUShort(), 0xBEEF);
  }
  EXPECT_EQ(buffer[0], 0xFE);  // little-endian: least significant byte first
}

wire::LoginRequest adminLogin() {
  wire::LoginRequest l;
  l.device = "PALM-7";
  l.user = "maria";
  l.syncKind = 'P';
  l.appVersion = "0";
  l.rpc = "RPC_ON";
  l.admin = "ADM_ON";
  l.adminId = 0x01020304;
  return l;
}

TEST(Login, RequestRoundTrip) {
  uint8_t buffer[512];
  wire::PacketWriter w(buffer, sizeof buffer, wire::Order::Big);
  ASSERT_TRUE(wire::writeLogin(w, adminLogin()));
  wire::PacketReader r(buffer, w.position(), wire::Order::Big);
  uint8_t command = 0;
  ASSERT_TRUE(wire::readRequestHead(r, command));
  EXPECT_EQ(command, wire::kLogin);
  wire::LoginRequest got;
  ASSERT_TRUE(wire::readLogin(r, got));
  EXPECT_EQ(got.device, "PALM-7");
  EXPECT_EQ(got.user, "maria");
  EXPECT_EQ(got.syncKind, 'P');
  EXPECT_EQ(got.clientVersion, "6.0.0");
  EXPECT_TRUE(got.rpcOn());
  EXPECT_TRUE(got.adminOn());
  EXPECT_EQ(got.adminId, 0x01020304);
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(Login, EveryCutShortRequestIsRefused) {
  uint8_t buffer[512];
  wire::PacketWriter w(buffer, sizeof buffer, wire::Order::Big);
  ASSERT_TRUE(wire::writeLogin(w, adminLogin()));
  for (size_t cut = 3; cut < w.position(); ++cut) {
    wire::PacketReader r(buffer, cut, wire::Order::Big, 3);
    wire::LoginRequest got;
    EXPECT_FALSE(wire::readLogin(r, got)) << "cut at " << cut;
  }
}

TEST(Login, VersionsAgreeOnTheirFirstSixBytes) {
  EXPECT_TRUE(wire::sameVersion("6.0.0", "6.0.0"));
  EXPECT_FALSE(wire::sameVersion("6.0.1", "6.0.0"));
  EXPECT_FALSE(wire::sameVersion("6.0.0.1", "6.0.0"));  // the terminator is the sixth byte
  EXPECT_FALSE(wire::sameVersion("6.0", "6.0.0"));
}

}  // namespace

namespace {

std::vector<uint8_t> rows(size_t count) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < count; ++i) {
    const std::string fields =
        "CLIENT" + std::to_string(i) + std::string(1, '\0') + "2026-12-09" + std::string(1, '\0');
    const uint16_t length = static_cast<uint16_t>(wire::kRowPrefix + fields.size());
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(1);
    out.insert(out.end(), fields.begin(), fields.end());
  }
  return out;
}

TEST(SyncPackets, UploadPacketLayout) {
  const std::vector<uint8_t> data = rows(200);
  std::vector<uint8_t> packet(wire::kBufferSize), back(wire::kBufferSize);
  const wire::Deflated d =
      wire::buildUploadPacket(data.data(), data.size(), 200, packet.data(), packet.size(), wire::Order::Big);
  ASSERT_EQ(d.status, wire::DeflateStatus::Ok);
  EXPECT_EQ(packet[2], 11);
  EXPECT_EQ(packet[3], 12);
  EXPECT_EQ(wire::get16(&packet[4], wire::Order::Big), d.size);
  EXPECT_EQ(packet[6], 14);
  EXPECT_EQ(wire::get16(&packet[7], wire::Order::Big), data.size());
  EXPECT_EQ(wire::get16(&packet[9], wire::Order::Big), 200);
  const wire::Inflated i =
      wire::inflateLimited(&packet[wire::kUploadHeader], d.size - wire::kUploadHeader, back.data(), back.size());
  ASSERT_EQ(i.status, wire::InflateStatus::Complete);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin()));
}

TEST(SyncPackets, DownloadPacketLayout) {
  const std::vector<uint8_t> data = rows(50);
  std::vector<uint8_t> packet(wire::kBufferSize);
  const wire::Deflated d =
      wire::buildDownloadPacket(data.data(), data.size(), 50, packet.data(), packet.size(), wire::Order::Big);
  ASSERT_EQ(d.status, wire::DeflateStatus::Ok);
  EXPECT_EQ(packet[2], 12);
  EXPECT_EQ(packet[3], 14);
  const wire::DownloadHeader h = wire::readDownloadHeader(packet.data(), wire::Order::Big);
  EXPECT_EQ(h.packetSize, d.size);
  EXPECT_EQ(h.rows, 50);
  EXPECT_EQ(h.uncompressed, data.size());
}

TEST(SyncPackets, PacketThatDoesNotFitIsRefused) {
  const std::vector<uint8_t> data = rows(50);
  std::vector<uint8_t> packet(20);
  EXPECT_EQ(
      wire::buildUploadPacket(data.data(), data.size(), 50, packet.data(), packet.size(), wire::Order::Big).status,
      wire::DeflateStatus::OutputFull);
  EXPECT_EQ(wire::buildDownloadPacket(data.data(), data.size(), 50, packet.data(), 5, wire::Order::Big).status,
            wire::DeflateStatus::OutputFull);
}

}  // namespace
