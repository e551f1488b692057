// Date and date-time text read with the regional settings of a Brazilian and of a US
// workstation. What was read, written back with the workstation's short date pattern or
// with the fixed day-month-year patterns the import writes, reads back as the same moment.
#include "DateTimeText.h"
#include "FuzzCheck.h"

#include "Regional.h"

#include <cstdint>

namespace {

// The workstation's separators with the day first, as the fixed patterns write dates.
RegionalSettings dayFirst(RegionalSettings settings)
{
    settings.shortDatePattern = QStringLiteral("dd/MM/yyyy");
    return settings;
}

void checkDate(const QString& text, const RegionalSettings& settings)
{
    const auto date = parseDate(text, settings);
    if (!date)
        return;
    require(parseDate(shortDateText(*date, settings), settings) == date, "a date reads back from its short date text");
    require(parseDate(dayMonthYearText(*date, settings), dayFirst(settings)) == date,
            "a date reads back from its day-month-year text");
}

void checkDateTime(const QString& text, const RegionalSettings& settings)
{
    const auto moment = parseDateTime(text, settings);
    if (!moment)
        return;
    require(parseDateTime(dayMonthYearTimeText(*moment, settings), dayFirst(settings)) == moment,
            "a date and time reads back from its day-month-year text");
}

} // namespace

// Most allocations of this target happen inside Qt, which is built without frame pointers: the
// quick stack walk records a partly made-up stack for each of them, and the sanitizer, which keeps
// every distinct stack, grows until the memory limit. Allocation stacks are therefore not kept;
// running a failing input with ASAN_OPTIONS=malloc_context_size=30 shows them.
extern "C" const char* __asan_default_options()
{
    return "malloc_context_size=0";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const RegionalSettings workstations[] = {brazilianSettings(), unitedStatesSettings()};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const RegionalSettings& settings : workstations) {
        checkDate(text, settings);
        checkDateTime(text, settings);
    }
    return 0;
}
