// The frames of native messaging: each message is its length as a 32-bit little-endian number,
// then that many bytes of UTF-8 JSON.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_MESSAGE_FRAMES_H
#define NPDESKLAUNCH_MESSAGING_HOST_MESSAGE_FRAMES_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// Browsers refuse a longer message from a host.
const uint32_t kMaxAnswerBytes = 1048576;
// Longer requests are answered with an error and their bytes discarded: no request of the
// protocol comes near it.
const uint32_t kMaxRequestBytes = 65536;

// The frame of `body`: its length, then its bytes. `body` holds at most kMaxAnswerBytes.
std::string FrameMessage(const std::string& body);

// What the reader found in the stream.
struct FrameEvent {
    enum Kind {
        Message,  // `body` holds one whole message
        Oversized // a message of `length` bytes, over kMaxRequestBytes: its bytes are skipped
    };
    Kind kind;
    uint32_t length;
    std::string body;
};

// Splits the bytes of a stream into messages, however the stream cuts them.
class FrameReader {
  public:
    FrameReader() : nHeader_(0), nLength_(0), nSkip_(0), bInBody_(false) {}

    // Takes `nBytes` more bytes of the stream; appends what they complete to `events`.
    void Feed(const char* bytes, size_t nBytes, std::vector<FrameEvent>& events);

    // Whether the bytes so far end inside a message (its length or its body).
    bool InsideMessage() const { return nHeader_ > 0 || bInBody_ || nSkip_ > 0; }

  private:
    unsigned char header_[4];
    size_t nHeader_; // bytes of the length read so far
    uint32_t nLength_;
    uint32_t nSkip_; // bytes of an oversized message still to skip
    bool bInBody_;
    std::string body_;
};

#endif
