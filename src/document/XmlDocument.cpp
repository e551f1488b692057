#include "XmlDocument.h"

#include "Error.h"
#include "FileDescriptor.h"
#include "IoError.h"
#include "Text.h"

#include <QFile>

#include <libxml/SAX2.h>
#include <libxml/globals.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR
    | XML_PARSE_NOWARNING;

struct ParseFailure {
    QString reason;
    int line = 0;
    int column = 0;
};

// The parser raises an error, fatal or not, only for something it could not read as written:
// besides what makes a document ill-formed, a reference to an entity it does not know (beside
// an external DTD or a parameter entity it leaves the reference out and carries on) and a text
// above its size limit (it stops, and then finds "extra content"). Every error fails the load,
// and the first one explains it: the later ones follow from it.
using FirstParseError = std::optional<ParseFailure>;

struct ParserContextDeleter {
    void operator()(xmlParserCtxt* context) const noexcept { xmlFreeParserCtxt(context); }
};
using ParserContextPtr = std::unique_ptr<xmlParserCtxt, ParserContextDeleter>;

// Parser contexts made for entity content share the main context's private pointer.
void recordError(void* userData, xmlErrorPtr error)
{
    auto* firstError = static_cast<FirstParseError*>(static_cast<xmlParserCtxtPtr>(userData)->_private);
    if (error->level >= XML_ERR_ERROR && !*firstError)
        *firstError = ParseFailure{trimmed(QString::fromUtf8(error->message)), error->line, error->int2};
}

// Errors that libxml2 raises outside any parser context, such as a failed conversion from
// the declared encoding, go to the thread's handler; while a document is parsed that handler
// records them with the context's errors instead of printing them.
class ContextlessErrorsRecorded {
public:
    explicit ContextlessErrorsRecorded(xmlParserCtxt* context)
        : previousHandler_(xmlStructuredError)
        , previousContext_(xmlStructuredErrorContext)
    {
        xmlSetStructuredErrorFunc(context, recordError);
    }
    ~ContextlessErrorsRecorded() { xmlSetStructuredErrorFunc(previousContext_, previousHandler_); }
    ContextlessErrorsRecorded(const ContextlessErrorsRecorded&) = delete;
    ContextlessErrorsRecorded& operator=(const ContextlessErrorsRecorded&) = delete;

private:
    xmlStructuredErrorFunc previousHandler_;
    void* previousContext_;
};

void declareInternalEntitiesOnly(void* context, const xmlChar* name, int type, const xmlChar* publicId,
                                 const xmlChar* systemId, xmlChar* content)
{
    if (type == XML_INTERNAL_GENERAL_ENTITY || type == XML_INTERNAL_PARAMETER_ENTITY)
        xmlSAX2EntityDecl(context, name, type, publicId, systemId, content);
}

// Feeds the parser from memory in pieces, so that no size limit of a single call applies.
struct MemoryInput {
    const QByteArray& bytes;
    qsizetype offset = 0;
};

int readMemory(void* context, char* buffer, int length)
{
    auto* input = static_cast<MemoryInput*>(context);
    const qsizetype count = std::min<qsizetype>(length, input->bytes.size() - input->offset);
    std::memcpy(buffer, input->bytes.constData() + input->offset, static_cast<size_t>(count));
    input->offset += count;
    return static_cast<int>(count);
}

[[noreturn]] void raiseReadFailure()
{
    throw Error(xmlParseErrorMessage(systemIoErrorMessage(errno), 0, 0));
}

// The whole file; reading it here keeps every input failure out of the parser, which would print it.
QByteArray readWholeFile(const QString& path)
{
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.isOpen())
        raiseReadFailure();
    QByteArray content;
    struct stat status {};
    if (::fstat(file.get(), &status) == 0 && status.st_size > 0)
        content.reserve(static_cast<qsizetype>(status.st_size) + 1);
    constexpr qsizetype kChunk = qsizetype(1) << 16;
    while (true) {
        const qsizetype size = content.size();
        content.resize(size + kChunk);
        const ssize_t count = ::read(file.get(), content.data() + size, kChunk);
        content.resize(size + std::max<ssize_t>(count, 0));
        if (count == 0)
            return content;
        if (count < 0 && errno != EINTR)
            raiseReadFailure();
    }
}

} // namespace

QString xmlParseErrorMessage(const QString& reason, int line, int column)
{
    QString message = QStringLiteral("XML Parse Error:\n\rReason: %1\n\r").arg(reason);
    if (line > 0)
        message += QStringLiteral("Error on line %1, position %2").arg(line).arg(column);
    return message;
}

XmlDocumentPtr loadXmlFile(const QString& path)
{
    return parseXmlText(readWholeFile(path));
}

XmlDocumentPtr parseXmlText(const QByteArray& text)
{
    xmlInitParser();
    FirstParseError firstError;
    const ParserContextPtr context(xmlNewParserCtxt());
    if (!context)
        throw std::bad_alloc();
    context->_private = &firstError;
    context->sax->serror = recordError;
    context->sax->entityDecl = declareInternalEntitiesOnly;
    MemoryInput input{text};
    const ContextlessErrorsRecorded contextlessErrors(context.get());
    XmlDocumentPtr document(xmlCtxtReadIO(context.get(), readMemory, nullptr, &input, nullptr, nullptr, kParseOptions));
    if (document && context->wellFormed && context->nsWellFormed && !firstError)
        return document;
    const ParseFailure failure = firstError.value_or(ParseFailure{});
    throw Error(xmlParseErrorMessage(failure.reason, failure.line, failure.column));
}
