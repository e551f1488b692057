#include "HttpResponseReader.h"

#include "Error.h"
#include "ResponseCases.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kSourceFailure = QStringLiteral("receive failed: Connection reset by peer");

// Hands out a fixed answer a few bytes per read, so that every line and every body
// crosses read boundaries; optionally fails instead of ending.
class MemorySource final : public ByteSource {
public:
    MemorySource(QByteArray bytes, std::size_t bytesPerRead, bool failsAtEnd = false)
        : bytes_(std::move(bytes))
        , bytesPerRead_(bytesPerRead)
        , failsAtEnd_(failsAtEnd)
    {
    }

    std::size_t read(std::span<char> buffer) override
    {
        const auto remaining = static_cast<std::size_t>(bytes_.size()) - position_;
        if (remaining == 0 && failsAtEnd_)
            throw Error(kSourceFailure);
        const std::size_t count = std::min({buffer.size(), bytesPerRead_, remaining});
        std::copy_n(bytes_.constData() + position_, count, buffer.data());
        position_ += count;
        return count;
    }

private:
    QByteArray bytes_;
    std::size_t bytesPerRead_;
    bool failsAtEnd_;
    std::size_t position_ = 0;
};

constexpr qsizetype kNoLimit = qsizetype(1) << 30;

} // namespace

TEST(ResponseReader, GivesTheSameBodyOrReasonWhateverTheReadSizes)
{
    for (const std::size_t bytesPerRead : {std::size_t(1), std::size_t(7), std::size_t(1) << 20}) {
        for (const ResponseCase& response : responseCases()) {
            SCOPED_TRACE(testing::Message() << response.name << ", " << bytesPerRead << " bytes per read");
            MemorySource source(response.answer, bytesPerRead);
            QString reason;
            EXPECT_EQ(readResponseBody(source, kNoLimit, &reason), response.stored);
            EXPECT_EQ(reason, response.reason);
        }
    }
}

TEST(ResponseReader, ReadFailureIsNoEndOfBody)
{
    const QByteArray untilClose("HTTP/1.1 200 OK\r\n\r\nall of it");
    MemorySource ending(untilClose, 4);
    EXPECT_EQ(readResponseBody(ending, kNoLimit), QByteArray("all of it"));

    // A failure after the last chunk leaves the body complete; anywhere else it is the reason.
    const QByteArray chunked("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n");
    const QByteArray failingAnswers[] = {untilClose, "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\nhello",
                                         chunked.chopped(5), "HTTP/1.1 200 OK\r\nContent-Len"};
    for (const QByteArray& answer : failingAnswers) {
        MemorySource failing(answer, 4, true);
        QString reason;
        EXPECT_EQ(readResponseBody(failing, kNoLimit, &reason), std::nullopt) << answer.constData();
        EXPECT_EQ(reason, kSourceFailure) << answer.constData();
    }
    MemorySource failingAfterTheLastChunk(chunked, 4, true);
    EXPECT_EQ(readResponseBody(failingAfterTheLastChunk, kNoLimit), QByteArray("hello"));
}

TEST(ResponseReader, EndlessHeadFails)
{
    // Every line within the line limit, the head as a whole beyond any reasonable size.
    QByteArray answer("HTTP/1.1 200 OK\r\n");
    for (int line = 0; line < 128; ++line)
        answer += "X-Padding: " + QByteArray(16000, 'p') + "\r\n";
    answer += "Content-Length: 2\r\n\r\nok";
    MemorySource source(answer, std::size_t(1) << 20);
    QString reason;
    EXPECT_EQ(readResponseBody(source, kNoLimit, &reason), std::nullopt);
    EXPECT_EQ(reason, QStringLiteral("response head too long"));
}
