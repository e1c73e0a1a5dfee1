// Length-prefixed frames: writing one, and reading them out of a stream cut anywhere.
#include "messaging_host/message_frames.h"

std::string FrameMessage(const std::string& body) {
    const uint32_t nLength = static_cast<uint32_t>(body.size());
    std::string frame;
    frame.reserve(body.size() + 4);
    for (int i = 0; i < 4; ++i) {
        frame += static_cast<char>((nLength >> (8 * i)) & 0xFF);
    }
    frame += body;
    return frame;
}

void FrameReader::Feed(const char* bytes, size_t nBytes, std::vector<FrameEvent>& events) {
    size_t i = 0;
    while (i < nBytes) {
        if (nSkip_ > 0) {
            const size_t nTake = nBytes - i < nSkip_ ? nBytes - i : nSkip_;
            nSkip_ -= static_cast<uint32_t>(nTake);
            i += nTake;
            continue;
        }
        if (!bInBody_) {
            header_[nHeader_++] = static_cast<unsigned char>(bytes[i++]);
            if (nHeader_ < 4) {
                continue;
            }
            nHeader_ = 0;
            nLength_ = static_cast<uint32_t>(header_[0]) | static_cast<uint32_t>(header_[1]) << 8 |
                       static_cast<uint32_t>(header_[2]) << 16 |
                       static_cast<uint32_t>(header_[3]) << 24;
            if (nLength_ > kMaxRequestBytes) {
                FrameEvent event = {FrameEvent::Oversized, nLength_, std::string()};
                events.push_back(event);
                nSkip_ = nLength_;
                continue;
            }
            body_.clear();
            body_.reserve(nLength_);
            bInBody_ = true;
        }
        if (body_.size() == nLength_) { // an empty message
            events.push_back(FrameEvent{FrameEvent::Message, 0, std::string()});
            bInBody_ = false;
            continue;
        }
        const size_t nWanted = nLength_ - body_.size();
        const size_t nTake = nBytes - i < nWanted ? nBytes - i : nWanted;
        body_.append(bytes + i, nTake);
        i += nTake;
        if (body_.size() == nLength_) {
            FrameEvent event = {FrameEvent::Message, nLength_, std::string()};
            event.body.swap(body_);
            events.push_back(event);
            bInBody_ = false;
        }
    }
}
