// The response reader on bytes as a server would send them: status and header lines,
// framing headers, chunks, truncations. A plain and a TLS download read their answer
// with this same reader (the TLS session is only another byte source), so these are
// the response rules of both.
#include "Error.h"
#include "FuzzCheck.h"
#include "HttpResponseReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Small, so that inputs of a few kilobytes reach the "larger than allowed" paths.
constexpr qsizetype kBodyCap = 1024;
// Above the reader's buffer, so that a declared length this large is read straight into the body.
constexpr qsizetype kLargeBodyCap = 128 * 1024;

// The input as the connection would deliver it: in reads as large as asked for, or
// in small pieces of varying size; after the last byte, the end of the stream or a failure.
class InputSource final : public ByteSource {
public:
    enum class Pieces { AsAsked, Small };
    enum class Ending { Closed, Failed };

    InputSource(const std::uint8_t* data, std::size_t size, Pieces pieces, Ending ending)
        : data_(data), size_(size), pieces_(pieces), ending_(ending)
    {
    }

    std::size_t read(std::span<char> buffer) override
    {
        if (offset_ == size_) {
            if (ending_ == Ending::Failed)
                throw Error(QStringLiteral("receive failed"));
            return 0;
        }
        std::size_t count = std::min(buffer.size(), size_ - offset_);
        if (pieces_ == Pieces::Small)
            count = std::min(count, 1 + reads_++ % 7);
        std::memcpy(buffer.data(), data_ + offset_, count);
        offset_ += count;
        return count;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    Pieces pieces_;
    Ending ending_;
    std::size_t offset_ = 0;
    std::size_t reads_ = 0;
};

// The body of a success, or the reason of a failure.
struct Outcome {
    std::optional<QByteArray> body;
    QString reason;

    bool operator==(const Outcome&) const = default;
};

Outcome outcomeOf(const std::uint8_t* data, std::size_t size, InputSource::Pieces pieces, InputSource::Ending ending,
                  qsizetype cap = kBodyCap)
{
    InputSource source(data, size, pieces, ending);
    Outcome outcome;
    outcome.body = readResponseBody(source, cap, &outcome.reason);
    require(outcome.body.has_value() == outcome.reason.isEmpty(), "every failure has a reason, and only a failure");
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using Pieces = InputSource::Pieces;
    using Ending = InputSource::Ending;
    const Outcome outcome = outcomeOf(data, size, Pieces::AsAsked, Ending::Closed);
    const std::optional<QByteArray>& body = outcome.body;
    require(!body || body->size() <= kBodyCap, "a body never exceeds the cap");
    require(outcomeOf(data, size, Pieces::Small, Ending::Closed) == outcome,
            "neither the body nor the reason depends on the read sizes");
    const auto bodyBeforeFailure = outcomeOf(data, size, Pieces::AsAsked, Ending::Failed).body;
    require(!bodyBeforeFailure || bodyBeforeFailure == body,
            "a stream that fails after its last byte gives the same body or none");
    const auto bodyUnderLargeCap = outcomeOf(data, size, Pieces::AsAsked, Ending::Closed, kLargeBodyCap).body;
    require(!body || bodyUnderLargeCap == body, "a larger cap gives the same body");
    require(!bodyUnderLargeCap || bodyUnderLargeCap->size() <= kLargeBodyCap, "a body never exceeds the larger cap");
    return 0;
}
