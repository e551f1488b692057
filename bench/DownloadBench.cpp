// Prints the speed and peak memory of order downloads over loopback, for a body
// of the given number of MiB (default 256) in each of the three framings, and the
// speed of the response reader alone on a chunked answer held in memory.

#include "FileDescriptor.h"
#include "HttpResponseReader.h"
#include "OrderDownload.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

enum class Framing { ContentLength, Chunked, UntilClose };

constexpr qsizetype kMiB = 1024 * 1024;

const char* framingName(Framing framing)
{
    switch (framing) {
    case Framing::ContentLength: return "Content-Length";
    case Framing::Chunked: return "chunked, 64 KiB chunks";
    case Framing::UntilClose: return "until close";
    }
    return "";
}

QByteArray chunkedBody(qsizetype size, qsizetype chunkSize)
{
    const QByteArray data(chunkSize, 'x');
    QByteArray framed;
    framed.reserve(size + size / chunkSize * 16 + 16);
    for (qsizetype sent = 0; sent < size; sent += chunkSize)
        framed += QByteArray::number(chunkSize, 16) + "\r\n" + data + "\r\n";
    return framed + "0\r\n\r\n";
}

bool sendAll(int socket, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t sent = ::send(socket, bytes.data(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes = bytes.sliced(sent);
    }
    return true;
}

// Accepts one connection, reads the request head and sends the answer in 1 MiB pieces.
void serveOnce(const FileDescriptor& listener, const QByteArray& answer)
{
    const FileDescriptor client(::accept(listener.get(), nullptr, nullptr));
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n")) {
        const ssize_t received = ::recv(client.get(), buffer, sizeof buffer, 0);
        if (received <= 0)
            return;
        request.append(buffer, received);
    }
    for (qsizetype offset = 0; offset < answer.size(); offset += kMiB) {
        if (!sendAll(client.get(), QByteArrayView(answer).sliced(offset, std::min(kMiB, answer.size() - offset))))
            return;
    }
}

QByteArray answerFor(Framing framing, qsizetype size)
{
    switch (framing) {
    case Framing::ContentLength:
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(size) + "\r\n\r\n" + QByteArray(size, 'x');
    case Framing::Chunked:
        return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunkedBody(size, 64 * 1024);
    case Framing::UntilClose:
        return "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(size, 'x');
    }
    return {};
}

double peakResidentMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void benchDownload(Framing framing, qsizetype size, const QString& target)
{
    FileDescriptor listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener.get(), 1) != 0
        || ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("loopback server");
        std::exit(1);
    }
    const QByteArray answer = answerFor(framing, size);
    std::thread server([&] { serveOnce(listener, answer); });

    const auto start = std::chrono::steady_clock::now();
    const bool stored = recebearquivo(QStringLiteral("http://127.0.0.1:%1/servico/oc/download").arg(ntohs(address.sin_port)), target);
    const double seconds = secondsSince(start);
    server.join();
    std::printf("download, %-24s %s %6.0f MiB in %6.3f s = %7.1f MiB/s (file %lld bytes), peak RSS so far %7.1f MiB\n",
                framingName(framing), stored ? "ok  " : "FAIL", double(size) / kMiB, seconds, double(size) / kMiB / seconds,
                static_cast<long long>(QFileInfo(target).size()), peakResidentMiB());
}

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(const QByteArray& bytes) : bytes_(bytes) {}
    std::size_t read(std::span<char> buffer) override
    {
        const std::size_t count = std::min(buffer.size(), static_cast<std::size_t>(bytes_.size()) - position_);
        std::copy_n(bytes_.constData() + position_, count, buffer.data());
        position_ += count;
        return count;
    }

private:
    const QByteArray& bytes_;
    std::size_t position_ = 0;
};

void benchReader(qsizetype size, qsizetype chunkSize)
{
    const QByteArray answer = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunkedBody(size, chunkSize);
    MemorySource source(answer);
    const auto start = std::chrono::steady_clock::now();
    const auto body = readResponseBody(source, qsizetype(1) << 30);
    const double seconds = secondsSince(start);
    std::printf("reader from memory, chunked, %5lld-byte chunks: %6.0f MiB in %6.3f s = %7.1f MiB/s (%s)\n",
                static_cast<long long>(chunkSize), double(size) / kMiB, seconds, double(size) / kMiB / seconds,
                body && body->size() == size ? "ok" : "FAIL");
}

} // namespace

int main(int argc, char** argv)
{
    const qsizetype size = (argc > 1 ? std::atoll(argv[1]) : 256) * kMiB;
    QTemporaryDir folder;
    const QString target = QDir(folder.path()).filePath(QStringLiteral("recebido.xml"));
    std::printf("peak RSS at start %.1f MiB\n", peakResidentMiB());
    for (const Framing framing : {Framing::ContentLength, Framing::Chunked, Framing::UntilClose})
        benchDownload(framing, size, target);
    benchReader(size, 64 * 1024);
    benchReader(size / 16, 16);
    return 0;
}
