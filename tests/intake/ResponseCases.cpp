#include "ResponseCases.h"

namespace {

// A header line of exactly `length` characters before its CR LF.
QByteArray headerLineOfLength(qsizetype length)
{
    const QByteArray name("X-Padding: ");
    return name + QByteArray(length - name.size(), 'p') + "\r\n";
}

std::vector<ResponseCase> buildCases()
{
    const QByteArray ok("HTTP/1.1 200 OK\r\n");
    const QByteArray chunked("Transfer-Encoding: chunked\r\n");
    return {
        {"content length", ok + "Content-Length: 5\r\n\r\nhello", "hello"},
        {"bytes beyond the content length", ok + "Content-Length: 5\r\n\r\nhello world", "hello"},
        {"content length 0", ok + "Content-Length: 0\r\n\r\n", ""},
        {"204 announcing a body", "HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\nhello", ""},
        {"200 with a location", ok + "Location: /servico/outro\r\nContent-Length: 2\r\n\r\nok", std::nullopt,
         "redirect to /servico/outro"},
        {"200 with an empty location", ok + "Location:   \r\nContent-Length: 2\r\n\r\nok", "ok"},
        {"301", "HTTP/1.1 301 Moved Permanently\r\nLocation: /servico/outro\r\nContent-Length: 0\r\n\r\n", std::nullopt,
         "redirect to /servico/outro"},
        {"302 with a body up to the close", "HTTP/1.1 302 Found\r\nLocation: http://outro.example/x\r\n\r\nmoved", std::nullopt,
         "redirect to http://outro.example/x"},
        // The location reaches a log line: without the token it may carry, on one line of a reasonable length.
        {"301 to the same service over TLS", "HTTP/1.1 301 Moved Permanently\r\nLocation: https://pedidos.tarvelo.com.br/"
             "servico/oc/download?token=3b9e1f7a0c5d4e28b6a1f90d7c3e5a2b8d4f6c01\r\nContent-Length: 0\r\n\r\n", std::nullopt,
         "redirect to https://pedidos.tarvelo.com.br/servico/oc/download (query left out)"},
        {"location with a control character, far too long", "HTTP/1.1 302 Found\r\nLocation: /a\x01" "b" + QByteArray(300, 'c')
             + "\r\nContent-Length: 0\r\n\r\n", std::nullopt, "redirect to /a?b" + QString(196, u'c') + "..."},
        {"307 without location", "HTTP/1.1 307 Temporary Redirect\r\nContent-Length: 0\r\n\r\n", std::nullopt, "HTTP status 307"},
        {"304", "HTTP/1.1 304 Not Modified\r\n\r\n", std::nullopt, "HTTP status 304"},
        {"401", "HTTP/1.1 401 Unauthorized\r\nContent-Length: 6\r\n\r\ndenied", std::nullopt, "HTTP status 401"},
        {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", std::nullopt, "HTTP status 404"},
        {"500", "HTTP/1.1 500 Internal Server Error\r\n\r\nfailed", std::nullopt, "HTTP status 500"},
        {"503 with its body cut short", "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 100\r\n\r\nbusy", std::nullopt,
         "HTTP status 503"},
        {"no status line", "<pedidos/>\r\n\r\n", std::nullopt, "malformed status line"},
        {"status code not a number", "HTTP/1.1 2OO OK\r\nContent-Length: 2\r\n\r\nok", std::nullopt, "malformed status line"},
        {"chunked, lower-case sizes", ok + chunked + "\r\na\r\n0123456789\r\nf\r\nabcdefghijklmno\r\n0\r\n\r\n",
         "0123456789abcdefghijklmno"},
        {"chunked, upper-case sizes", ok + chunked + "\r\nA\r\n0123456789\r\nF\r\nabcdefghijklmno\r\n0\r\n\r\n",
         "0123456789abcdefghijklmno"},
        {"chunk size followed by a blank", ok + chunked + "\r\n5 ;ext=1\r\nhello\r\n0\r\n\r\n", "hello"},
        {"chunk sizes followed by extensions", ok + chunked + "\r\n5;ext=1\r\nhello\r\n6;a=b;c\r\n world\r\n0;last\r\n\r\n",
         "hello world"},
        {"chunk size followed by a tab", ok + chunked + "\r\n5\t;ext=1\r\nhello\r\n0\r\n\r\n", "hello"},
        {"chunk size that is no number ends the body", ok + chunked + "\r\n5\r\nhello\r\nzz\r\nworld\r\n0\r\n\r\n", "hello"},
        {"capital-C Chunked is read until close", ok + "Transfer-Encoding: Chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
         "5\r\nhello\r\n0\r\n\r\n"},
        {"content length above 0 wins over chunked", ok + "Content-Length: 8\r\n" + chunked + "\r\n5\r\nhello\r\n0\r\n\r\n",
         "5\r\nhello"},
        {"chunked before content length above 0", ok + chunked + "Content-Length: 8\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
         "5\r\nhello"},
        {"content length 0 with chunked", ok + "Content-Length: 0\r\n" + chunked + "\r\n5\r\nhello\r\n0\r\n\r\n", "hello"},
        {"neither header", ok + "\r\neverything up to the close", "everything up to the close"},
        {"unreadable content length", ok + "Content-Length: 5x\r\n\r\nhello world", "hello world"},
        {"100 then 200", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\nX-Step: 2\r\n\r\n" + ok
                             + "Content-Length: 2\r\n\r\nok", "ok"},
        {"header names in any case", ok + "content-LENGTH: 2\r\n\r\nokay", "ok"},
        {"continuation line joins the header before", ok + "Transfer-Encoding: gzip,\r\n\t chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
         "hello"},
        {"value on a continuation line", ok + "Content-Length:\r\n   2\r\n\r\nokay", "ok"},
        {"lines ended by LF alone", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", "ok"},
        {"head line of 16384 characters", ok + headerLineOfLength(16384) + "Content-Length: 2\r\n\r\nok", "ok"},
        {"head line of 16385 characters", ok + headerLineOfLength(16385) + "Content-Length: 2\r\n\r\nok", std::nullopt,
         "response head too long"},
        {"chunk line of 16385 characters", ok + chunked + "\r\n5;" + QByteArray(16383, 'e') + "\r\nhello\r\n0\r\n\r\n",
         std::nullopt, "chunk line too long"},
        {"body cut short", ok + "Content-Length: 10\r\n\r\nhello", std::nullopt, "body cut short"},
        {"chunk cut short", ok + chunked + "\r\na\r\nhello", std::nullopt, "body cut short"},
        {"chunked body without its last chunk", ok + chunked + "\r\n5\r\nhello\r\n", std::nullopt, "body cut short"},
        {"head cut short", ok + "Content-Length: 2\r\n", std::nullopt, "response head cut short"},
        {"closed without a word", "", std::nullopt, "response head cut short"},
    };
}

} // namespace

const std::vector<ResponseCase>& responseCases()
{
    static const std::vector<ResponseCase> cases = buildCases();
    return cases;
}
