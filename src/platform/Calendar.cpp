#include "platform/Calendar.h"

#include "platform/MainLoop.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <map>
#include <memory>
#include <utility>

namespace zorlet {

namespace {

std::unique_ptr<icu::Calendar> makeCalendar(const std::string& zone) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::TimeZone> timeZone(
        zone.empty() ? icu::TimeZone::createDefault()
                     : icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone)));
    auto calendar = std::make_unique<icu::GregorianCalendar>(timeZone.release(), status);
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return calendar;
}

UDate toUDate(SystemTime time) {
    return static_cast<UDate>(
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count());
}

SystemTime fromUDate(UDate date) {
    return SystemTime(std::chrono::duration_cast<SystemTime::duration>(
        std::chrono::milliseconds(static_cast<long long>(date))));
}

// Building a formatter loads ICU's pattern and zone data, a tenth of a
// millisecond or more; lists format a date per row and the launch a few.
// Formatters are not shareable across threads, so each thread keeps its own,
// non-lenient (which only matters for parsing).
icu::SimpleDateFormat* formatterFor(const std::string& pattern, const std::string& zone) {
    constexpr std::size_t kMaxKept = 32;
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<icu::SimpleDateFormat>> kept;
    auto key = std::make_pair(pattern, zone);
    if (auto found = kept.find(key); found != kept.end()) {
        return found->second.get();
    }
    UErrorCode status = U_ZERO_ERROR;
    auto formatter = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(pattern),
                                                             icu::Locale::getRoot(), status);
    if (U_FAILURE(status)) {
        return nullptr;
    }
    if (auto calendar = makeCalendar(zone)) {
        formatter->adoptCalendar(calendar.release());
    }
    // After adopting: leniency lives in the calendar, and a new one is lenient.
    formatter->setLenient(false);
    if (kept.size() >= kMaxKept) {
        kept.clear();
    }
    return kept.emplace(std::move(key), std::move(formatter)).first->second.get();
}

}  // namespace

std::string Calendar::effectiveZone(const std::string& zone) {
    if (!zone.empty()) {
        return zone;
    }
    return MainLoop::main().clock().timeZone();
}

DateParts Calendar::partsOf(SystemTime time, const std::string& zone) {
    DateParts parts;
    auto calendar = makeCalendar(effectiveZone(zone));
    if (!calendar) {
        return parts;
    }
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(toUDate(time), status);
    parts.year = calendar->get(UCAL_YEAR, status);
    if (calendar->get(UCAL_ERA, status) == 0) {
        parts.year = 1 - parts.year;
    }
    parts.month = calendar->get(UCAL_MONTH, status) + 1;
    parts.day = calendar->get(UCAL_DATE, status);
    parts.hour = calendar->get(UCAL_HOUR_OF_DAY, status);
    parts.minute = calendar->get(UCAL_MINUTE, status);
    parts.second = calendar->get(UCAL_SECOND, status);
    parts.weekday = calendar->get(UCAL_DAY_OF_WEEK, status);
    return parts;
}

SystemTime Calendar::timeOf(const DateParts& parts, const std::string& zone) {
    auto calendar = makeCalendar(effectiveZone(zone));
    if (!calendar) {
        return SystemTime{};
    }
    calendar->clear();
    calendar->set(parts.year, parts.month - 1, parts.day, parts.hour, parts.minute, parts.second);
    UErrorCode status = U_ZERO_ERROR;
    UDate date = calendar->getTime(status);
    return U_FAILURE(status) ? SystemTime{} : fromUDate(date);
}

std::string Calendar::format(SystemTime time, const std::string& pattern, const std::string& zone) {
    auto* formatter = formatterFor(pattern, effectiveZone(zone));
    if (formatter == nullptr) {
        return {};
    }
    icu::UnicodeString text;
    formatter->format(toUDate(time), text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::optional<SystemTime> Calendar::parse(const std::string& text, const std::string& pattern,
                                          const std::string& zone) {
    auto* formatter = formatterFor(pattern, effectiveZone(zone));
    if (formatter == nullptr) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    UDate date = formatter->parse(icu::UnicodeString::fromUTF8(text), status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return fromUDate(date);
}

}  // namespace zorlet
