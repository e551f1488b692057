#include "Error.h"

Error::Error(QString message)
    : message_(std::move(message))
    , utf8_(message_.toUtf8())
{
}
