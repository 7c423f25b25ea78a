#include "ZipInflater.h"

#include <zlib.h>

#include <algorithm>

namespace {

const size_t kInputPiece = 4096;
const uint64_t kMaxOutputPiece = uint64_t(1) << 30;

class InflateStream {
public:
    InflateStream() : ready_(inflateInit2(&stream_, -MAX_WBITS) == Z_OK) {}
    ~InflateStream() {
        if (ready_) inflateEnd(&stream_);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool ready() const { return ready_; }
    z_stream& get() { return stream_; }

private:
    z_stream stream_{};
    const bool ready_;
};

} // namespace

bool inflateFully(ZipArchive& zip, ZipEntry& entry, unsigned char* out, const char** message) {
    InflateStream inflater;
    if (!inflater.ready()) {
        *message = "inflateFully: cannot start the decompressor";
        return false;
    }
    z_stream& stream = inflater.get();
    unsigned char input[kInputPiece];
    uint64_t inputDone = 0;
    uint64_t outputLeft = entry.size;
    for (;;) {
        if (stream.avail_in == 0) {
            if (inputDone == entry.compressedSize) {
                // With the output full, the stream is what overran.
                *message = outputLeft == 0 ? "inflateFully: Unexpected end of stream"
                                           : "inflateFully: Unexpected end of file";
                return false;
            }
            const size_t want = static_cast<size_t>(
                std::min<uint64_t>(entry.compressedSize - inputDone, sizeof(input)));
            const int64_t got = zip.read(entry, inputDone, input, want, message);
            if (got <= 0) {
                return false;
            }
            inputDone += static_cast<uint64_t>(got);
            stream.next_in = input;
            stream.avail_in = static_cast<uInt>(got);
        }
        const uInt outputPiece = static_cast<uInt>(std::min(outputLeft, kMaxOutputPiece));
        stream.next_out = out;
        stream.avail_out = outputPiece;
        const int status = inflate(&stream, Z_NO_FLUSH);
        const uInt produced = outputPiece - stream.avail_out;
        out += produced;
        outputLeft -= produced;
        if (status == Z_STREAM_END) {
            if (outputLeft != 0 || stream.avail_in != 0 || inputDone != entry.compressedSize) {
                *message = "inflateFully: Unexpected end of stream";
                return false;
            }
            return true;
        }
        if (status == Z_BUF_ERROR && stream.avail_in != 0) {
            // The output is full yet the stream goes on.
            *message = "inflateFully: Unexpected end of stream";
            return false;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            *message = "inflateFully: invalid compressed data";
            return false;
        }
    }
}
