// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ListDecoder.h"

#include "base/NameCharset.h"
#include "base/ShellIcons.h"
#include "engine/MlsdFacts.h"
#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <limits>
#include <unordered_map>

namespace qx {

namespace {

constexpr char CtrlZ = 26;

// Korean month and day words, in code page 949 and in UTF-8.
constexpr std::string_view MonthWordCp949 = "\xBF\xF9";
constexpr std::string_view MonthWordUtf8 = "\xEC\x9B\x94";
constexpr std::string_view DayWordCp949 = "\xC0\xCF";
constexpr std::string_view DayWordUtf8 = "\xEC\x9D\xBC";

constexpr std::array<std::string_view, 12> MonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsDigits(std::string_view field) {
    if (field.empty()) {
        return false;
    }
    for (const char c : field) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// The value of a field made of digits only; 0 for anything else, and for values beyond int64.
int64_t DigitsValue(std::string_view field) {
    if (!IsDigits(field)) {
        return 0;
    }
    constexpr int64_t max = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (const char c : field) {
        const int digit = c - '0';
        if (value > max / 10 || (value == max / 10 && digit > max % 10)) {
            return 0;
        }
        value = value * 10 + digit;
    }
    return value;
}

int32_t SmallDigitsValue(std::string_view field) {
    const int64_t value = DigitsValue(field);
    return value <= std::numeric_limits<int32_t>::max() ? static_cast<int32_t>(value) : 0;
}

// Two digits at a fixed place of a field; -1 when they are not both digits.
int32_t TwoDigits(std::string_view field, std::size_t at) {
    if (field.size() < at + 2 || !IsDigit(field[at]) || !IsDigit(field[at + 1])) {
        return -1;
    }
    return (field[at] - '0') * 10 + (field[at + 1] - '0');
}

// MM-DD-YY
bool IsDosDate(std::string_view field) {
    if (field.size() != 8 || field[2] != '-' || field[5] != '-') {
        return false;
    }
    for (const std::size_t i : {0, 1, 3, 4, 6, 7}) {
        if (!IsDigit(field[i])) {
            return false;
        }
    }
    return true;
}

bool IsPermission(std::string_view field) {
    if (field.size() != 10 || (field[0] != '-' && field[0] != 'd' && field[0] != 'l')) {
        return false;
    }
    for (const char c : field.substr(1)) {
        if (c != '-' && c != 'r' && c != 's' && c != 't' && c != 'w' && c != 'x') {
            return false;
        }
    }
    return true;
}

// A number followed by a Korean word ("3월"), else the field itself as a number.
int32_t KoreanNumber(std::string_view field, std::string_view utf8Word, std::string_view cp949Word,
                     bool& hasWord) {
    hasWord = false;
    if (IsDigits(field)) {
        return SmallDigitsValue(field);
    }
    std::size_t drop = 0;
    if (field.find(utf8Word) != std::string_view::npos) {
        drop = utf8Word.size();
    } else if (field.find(cp949Word) != std::string_view::npos) {
        drop = cp949Word.size();
    }
    hasWord = drop != 0;
    return SmallDigitsValue(field.substr(0, field.size() - drop));
}

int32_t MonthValue(std::string_view field) {
    // A month name holds no Korean word, so it can be looked for first.
    if (field.size() == 3) {
        for (std::size_t i = 0; i < MonthNames.size(); ++i) {
            if (field == MonthNames[i]) {
                return static_cast<int32_t>(i + 1);
            }
        }
    }
    bool korean = false;
    const int32_t value = KoreanNumber(field, MonthWordUtf8, MonthWordCp949, korean);
    return korean ? value : 0;
}

int32_t DayValue(std::string_view field) {
    bool korean = false;
    return KoreanNumber(field, DayWordUtf8, DayWordCp949, korean);
}

bool IsLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int64_t year, int month) {
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The proleptic Gregorian date of a day counted from 1970-01-01.
void CivilFromDays(int64_t days, int32_t& year, int32_t& month, int32_t& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int32_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int32_t>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int32_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::string FormatTm(const char* format, const std::tm& time) {
    std::array<char, 128> buffer{};
    const std::size_t length = std::strftime(buffer.data(), buffer.size(), format, &time);
    return std::string(buffer.data(), length);
}

// A new item with the defaults of its members. make_unique would zero the whole item first.
std::unique_ptr<TFTPListItem> NewItem() {
    return std::make_unique_for_overwrite<TFTPListItem>();
}

// Splits a line into blank-separated fields (character 32 only).
class TFieldReader {
public:
    explicit TFieldReader(std::string_view line) : m_line(line) {}

    std::string_view Next() {
        SkipBlanks();
        const std::size_t start = m_pos;
        while (m_pos < m_line.size() && m_line[m_pos] != ' ') {
            ++m_pos;
        }
        return m_line.substr(start, m_pos - start);
    }

    // The rest of the line with its leading blanks removed.
    std::string_view Rest() {
        SkipBlanks();
        return m_line.substr(m_pos);
    }

private:
    void SkipBlanks() {
        while (m_pos < m_line.size() && m_line[m_pos] == ' ') {
            ++m_pos;
        }
    }

    std::string_view m_line;
    std::size_t m_pos = 0;
};

class TListDecoder {
public:
    TListDecoder(const TShellIcons& icons, int currentYear, TFTPListItems& list,
                 TListingFormat format = TListingFormat::List, int timeZoneOffsetMinutes = 0)
        : m_icons(icons), m_currentYear(currentYear), m_list(list), m_format(format),
          m_offsetMinutes(timeZoneOffsetMinutes) {}

    // One piece of the listing after the other; a line may span pieces. Finish() after the last.
    void Feed(std::string_view bytes) {
        if (m_ended) {
            return;
        }
        if (const auto ctrlZ = bytes.find(CtrlZ); ctrlZ != std::string_view::npos) {
            bytes = bytes.substr(0, ctrlZ);
            m_ended = true;
        }
        if (m_afterCr && !bytes.empty() && bytes.front() == '\n') {
            bytes.remove_prefix(1); // the LF of a CR LF split between two pieces
        }
        m_afterCr = false;
        // The next CR and the next LF are searched for separately (memchr is much faster than
        // a loop testing each byte for both) and each search is repeated only once passed.
        std::size_t nextCr = bytes.find('\r');
        std::size_t nextLf = bytes.find('\n');
        std::size_t start = 0;
        while (start < bytes.size()) {
            if (nextCr < start) {
                nextCr = bytes.find('\r', start);
            }
            if (nextLf < start) {
                nextLf = bytes.find('\n', start);
            }
            const std::size_t end = std::min(nextCr, nextLf);
            if (end == std::string_view::npos) {
                Hold(bytes.substr(start));
                return;
            }
            Complete(bytes.substr(start, end - start));
            if (end == nextCr && end + 1 == bytes.size()) {
                m_afterCr = true;
            }
            start = end + (end == nextCr && end + 1 == nextLf ? 2 : 1);
        }
    }

    void Finish() {
        if (m_overlong) {
            ++m_skippedLongLines;
        } else if (!m_held.empty()) {
            Line(m_held);
        }
        m_held.clear();
        m_overlong = false;
    }

    std::size_t SkippedLongLines() const { return m_skippedLongLines; }
    void ConvertNames(TNameCharset* charset) { m_charset = charset; }

private:
    // The start of a line whose end is in a later piece.
    void Hold(std::string_view part) {
        if (m_overlong) {
            return;
        }
        if (m_held.size() + part.size() > kMaxListingLine) {
            m_overlong = true; // dropped; the rest of the line up to its end goes too
            m_held.clear();
            m_held.shrink_to_fit();
            return;
        }
        m_held.append(part);
    }

    void Complete(std::string_view part) {
        if (m_overlong || m_held.size() + part.size() > kMaxListingLine) {
            ++m_skippedLongLines;
            m_overlong = false;
            m_held.clear();
            return;
        }
        if (m_held.empty()) {
            Line(part);
            return;
        }
        m_held.append(part);
        Line(m_held);
        m_held.clear();
    }

    void Line(std::string_view line) {
        if (line.empty()) {
            return;
        }
        if (m_charset != nullptr) {
            m_convertedLine = m_charset->ToUtf8(line);
            line = m_convertedLine;
        }
        if (m_format == TListingFormat::Mlsd) {
            MlsdLine(line);
            return;
        }
        TFieldReader fields(line);
        const std::string_view first = fields.Next();
        if (IsDosDate(first)) {
            DosLine(first, fields);
        } else if (IsPermission(first)) {
            UnixLine(first, fields);
        }
    }

    void UnixLine(std::string_view permission, TFieldReader& fields) {
        const std::string_view links = fields.Next();
        fields.Next(); // owner
        std::string_view size;
        std::string_view month;
        if (links == "folder") {
            month = fields.Next();
        } else {
            const std::string_view group = fields.Next();
            size = fields.Next();
            if (IsDigits(size)) {
                month = fields.Next();
            } else {
                // No group column: what was read as the size is the month.
                month = size;
                size = group;
            }
        }
        std::string_view day = fields.Next();
        const std::string_view timeOrYear = fields.Next();
        std::string_view name;
        if (!timeOrYear.empty()) {
            name = fields.Rest();
        } else {
            name = day;
            day = {};
        }
        std::string_view linkTo;
        const std::size_t arrow = name.find(" -> ");
        if (arrow != std::string_view::npos) {
            linkTo = name.substr(arrow + 4);
            name = name.substr(0, arrow);
        }
        if (name.empty() || name == "." || name == "..") {
            return;
        }

        auto item = NewItem();
        item->Permission = permission;
        item->Name = name;
        item->LinkTo = linkTo;
        item->IsFile = permission[0] == '-';
        item->IsLink = permission[0] == 'l';
        item->Month = MonthValue(month);
        item->Day = DayValue(day);
        const std::size_t colon = timeOrYear.find(':');
        if (colon != std::string_view::npos) {
            item->Year = m_currentYear;
            item->Hour = SmallDigitsValue(timeOrYear.substr(0, colon));
            item->Minute = SmallDigitsValue(timeOrYear.substr(colon + 1));
            item->TimePrecision = TTimePrecision::Minute;
        } else {
            item->Year = SmallDigitsValue(timeOrYear);
            item->TimePrecision = TTimePrecision::Day;
        }
        if (item->IsFile) {
            item->Size = DigitsValue(size);
        }
        Finish(std::move(item));
    }

    void DosLine(std::string_view date, TFieldReader& fields) {
        const std::string_view time = fields.Next();
        const std::string_view third = fields.Next();
        const std::string_view name = fields.Rest();
        if (name.empty()) {
            return;
        }

        auto item = NewItem();
        // The date field was checked to be digits at these places.
        item->Month = TwoDigits(date, 0);
        item->Day = TwoDigits(date, 3);
        const int32_t year = TwoDigits(date, 6);
        item->Year = year < 70 ? 2000 + year : 1900 + year;
        const int32_t hour = TwoDigits(time, 0);
        if (hour >= 0) {
            const std::string_view half = time.size() >= 7 ? time.substr(5, 2) : std::string_view();
            if (half == "PM") {
                item->Hour = hour == 12 ? 12 : hour + 12;
            } else {
                item->Hour = half == "AM" && hour == 12 ? 0 : hour;
            }
        }
        item->Minute = std::max(TwoDigits(time, 3), 0);
        item->TimePrecision = TTimePrecision::Minute;
        item->IsFile = third != "<DIR>";
        item->Permission = item->IsFile ? "----------" : "d---------";
        item->Name = name;
        if (item->IsFile) {
            item->Size = DigitsValue(third);
        }
        Finish(std::move(item));
    }

    void MlsdLine(std::string_view line) {
        TMlsdEntry entry;
        if (ParseMlsdLine(line, entry)) {
            Entry(entry);
        }
    }

public:
    // An entry decoded elsewhere (SFTP's attributes), under the rules of MLSD's.
    void Entry(const TMlsdEntry& entry) {
        using K = TMlsdEntry::TKind;
        if (entry.Name.empty() || entry.Name == "." || entry.Name == ".." ||
            (entry.Kind != K::File && entry.Kind != K::Folder && entry.Kind != K::Link)) {
            return;
        }
        auto item = NewItem();
        item->Name = entry.Name;
        item->LinkTo = entry.LinkTo;
        item->IsFile = entry.Kind == K::File;
        item->IsLink = entry.Kind == K::Link;
        item->Permission = item->IsLink ? "l" : item->IsFile ? "-" : "d";
        char bits[9];
        ModePermissionText(entry.UnixMode.value_or(0), bits);
        item->Permission.append(bits, sizeof bits);
        item->Size = item->IsFile ? std::max<int64_t>(entry.Size, 0) : -1;
        std::tm local{};
        const std::time_t modified =
            entry.ModifiedUtc ? static_cast<std::time_t>(*entry.ModifiedUtc) : 0;
        if (entry.ModifiedUtc && ::localtime_r(&modified, &local) != nullptr) {
            item->Year = local.tm_year + 1900;
            item->Month = local.tm_mon + 1;
            item->Day = local.tm_mday;
            item->Hour = local.tm_hour;
            item->Minute = local.tm_min;
            item->Second = local.tm_sec;
            item->TimePrecision = TTimePrecision::Second;
        } else {
            item->Year = item->Month = item->Day = 0;
            item->Hour = item->Minute = -1; // no time text either
        }
        Finish(std::move(item));
    }

private:
    // Date and time texts, icon, type name and folder size; then adds the item.
    void Finish(std::unique_ptr<TFTPListItem> item) {
        if (m_offsetMinutes != 0 && item->TimePrecision == TTimePrecision::Minute) {
            ShiftedTexts(*item);
        } else {
            item->DateText = DateText(item->Year, item->Month, item->Day);
            item->TimeText = TimeText(item->Hour, item->Minute);
        }
        if (item->DateText.empty() ||
            (item->TimePrecision != TTimePrecision::Day && item->TimeText.empty())) {
            item->TimePrecision = TTimePrecision::Unknown;
        }
        SetEntryKind(*item, item->IsFile, m_icons);
        if (item->IsLink) {
            m_list.HasLinks = true;
        }
        m_list.Add(std::move(item));
    }

    // The texts of a LIST time moved back by the server's offset; the fields stay as listed.
    void ShiftedTexts(TFTPListItem& item) {
        if (DateText(item.Year, item.Month, item.Day).empty() ||
            TimeText(item.Hour, item.Minute).empty()) {
            return; // no valid time to move
        }
        const int64_t minutes = DaysFromCivil(item.Year, item.Month, item.Day) * 1440 +
                                item.Hour * 60 + item.Minute - m_offsetMinutes;
        const int64_t days = minutes >= 0 ? minutes / 1440 : (minutes - 1439) / 1440;
        const auto minuteOfDay = static_cast<int32_t>(minutes - days * 1440);
        int32_t year = 0;
        int32_t month = 0;
        int32_t day = 0;
        CivilFromDays(days, year, month, day);
        item.DateText = DateText(year, month, day);
        item.TimeText = TimeText(minuteOfDay / 60, minuteOfDay % 60);
    }

    const std::string& DateText(int32_t year, int32_t month, int32_t day) {
        static const std::string none;
        if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1 ||
            day > DaysInMonth(year, month)) {
            return none;
        }
        const auto key = static_cast<uint32_t>(year) << 9 | static_cast<uint32_t>(month) << 5 |
                         static_cast<uint32_t>(day);
        if (m_lastDate != nullptr && key == m_lastDateKey) {
            return *m_lastDate;
        }
        auto [entry, inserted] = m_dates.try_emplace(key);
        if (inserted) {
            const int64_t days = DaysFromCivil(year, month, day);
            std::tm time{};
            time.tm_year = year - 1900;
            time.tm_mon = month - 1;
            time.tm_mday = day;
            time.tm_wday = static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
            time.tm_yday = static_cast<int>(days - DaysFromCivil(year, 1, 1));
            entry->second = FormatTm("%x", time);
        }
        m_lastDateKey = key;
        m_lastDate = &entry->second;
        return entry->second;
    }

    const std::string& TimeText(int32_t hour, int32_t minute) {
        static const std::string none;
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
            return none;
        }
        const auto index = static_cast<std::size_t>(hour) * 60 + static_cast<std::size_t>(minute);
        if (!m_timeDone.test(index)) {
            std::tm time{};
            time.tm_year = 100;
            time.tm_mday = 1;
            time.tm_wday = 6; // 2000-01-01 was a Saturday
            time.tm_hour = hour;
            time.tm_min = minute;
            m_times[index] = FormatTm("%X", time);
            m_timeDone.set(index);
        }
        return m_times[index];
    }

    const TShellIcons& m_icons;
    const int m_currentYear;
    TFTPListItems& m_list;
    const TListingFormat m_format;
    const int m_offsetMinutes;

    std::unordered_map<uint32_t, std::string> m_dates;
    uint32_t m_lastDateKey = 0;
    const std::string* m_lastDate = nullptr;
    std::array<std::string, 24 * 60> m_times;
    std::bitset<24 * 60> m_timeDone;

    std::string m_held; // a line begun in an earlier piece
    bool m_overlong = false;
    bool m_afterCr = false;
    bool m_ended = false;
    std::size_t m_skippedLongLines = 0;
    TNameCharset* m_charset = nullptr;
    std::string m_convertedLine;
};

int CurrentLocalYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        return 1970;
    }
    return local.tm_year + 1900;
}

} // namespace

void DecodeListing(std::string_view bytes, TFTPListItems& list, const TListDecodeContext& context,
                   TListDecodeReport* report) {
    const TShellIcons& icons = context.Icons != nullptr ? *context.Icons : SharedShellIcons();
    TListDecoder decoder(icons, context.CurrentYear, list, context.Format,
                         context.TimeZoneOffsetMinutes);
    decoder.Feed(bytes);
    decoder.Finish();
    if (report != nullptr) {
        report->SkippedLongLines += decoder.SkippedLongLines();
    }
}

class TListDecodeStream::TDecoder : public TListDecoder {
public:
    using TListDecoder::TListDecoder;
};

TListDecodeStream::TListDecodeStream(TFTPListItems& list, TListingFormat format,
                                     int timeZoneOffsetMinutes)
    : m_decoder(std::make_unique<TDecoder>(SharedShellIcons(), CurrentLocalYear(), list, format,
                                           timeZoneOffsetMinutes)) {}

TListDecodeStream::~TListDecodeStream() = default;

void TListDecodeStream::Feed(std::string_view piece) {
    m_decoder->Feed(piece);
}

void TListDecodeStream::ConvertNames(TNameCharset* charset) {
    m_decoder->ConvertNames(charset);
}

void TListDecodeStream::AddEntry(const TMlsdEntry& entry) {
    m_decoder->Entry(entry);
}

void TListDecodeStream::Finish(TListDecodeReport* report) {
    m_decoder->Finish();
    if (report != nullptr) {
        report->SkippedLongLines += m_decoder->SkippedLongLines();
    }
}

bool DecodeListFile(const std::string& fileName, TFTPListItems& list, TListDecodeReport* report) {
    const UniqueFd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    // Decoded into a list of its own first: a file that cannot be read to its end leaves the
    // caller's list as it was.
    TFTPListItems decoded;
    TListDecoder decoder(SharedShellIcons(), CurrentLocalYear(), decoded);
    std::string piece(256 * 1024, '\0');
    for (;;) {
        const ssize_t got = ::read(fd.get(), piece.data(), piece.size());
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        decoder.Feed(std::string_view(piece.data(), static_cast<std::size_t>(got)));
    }
    decoder.Finish();
    list.Append(std::move(decoded));
    if (report != nullptr) {
        report->SkippedLongLines += decoder.SkippedLongLines();
    }
    ::unlink(fileName.c_str());
    return true;
}

} // namespace qx
