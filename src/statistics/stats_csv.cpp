// CSV export and import of the data set.
#include "statistics/stats_csv.h"

#include "numbers/number_text.h"

#include <algorithm>

namespace quorvel {

namespace {

void AppendField(std::string& out, const std::string& field) {
    const bool quote =
        field.find_first_of(",\"\r\n") != std::string::npos ||
        (!field.empty() && (IsSpaceChar(field.front()) || IsSpaceChar(field.back())));
    if (!quote) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// Digits after the point of a decimal text, or -1 for a text that is no decimal.
int DecimalDigits(std::string_view text) {
    text = TrimSpace(text);
    if (!IsDecimalText(text))
        return -1;
    const std::size_t point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

bool ReadsAsNumber(std::string_view text) {
    try {
        CNumber n{text};
        (void)n;
        return true;
    } catch (const CNumberException&) {
        return false;
    }
}

} // namespace

std::string ExportCsv(const CStatsDataSet& data) {
    std::string out;
    const auto row = [&](int r) {
        for (int c = 1; c < data.columnCount(); ++c) {
            if (c > 1)
                out += ',';
            AppendField(out, CellValueText(data, r, c));
        }
        out += "\r\n";
    };
    row(0);
    for (int r = 1; r < data.dataCaseEnd(); ++r)
        row(r);
    return out;
}

std::vector<std::vector<std::string>> ParseCsv(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false, wasQuoted = false;
    const auto endField = [&] {
        record.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        const bool blank = record.size() == 1 && record[0].empty();
        if (!blank)
            records.push_back(std::move(record));
        record.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !record.empty() || wasQuoted)
        endRecord();
    return records;
}

StatsColumnFormat NarrowestFormat(const std::vector<std::string_view>& cells) {
    int mostDigits = 0;
    bool anyNumber = false, fraction = false;
    for (std::string_view cell : cells) {
        cell = TrimSpace(cell);
        if (cell.empty())
            continue;
        if (!ReadsAsNumber(cell))
            return StatsColumnFormat::Categories;
        anyNumber = true;
        if (IsIntegerText(cell))
            continue;
        const int digits = DecimalDigits(cell);
        if (digits < 0)
            fraction = true;
        else // "5." is a decimal too
            mostDigits = std::max(mostDigits, std::max(digits, 1));
    }
    if (!anyNumber)
        return StatsColumnFormat::Categories;
    if (fraction)
        return StatsColumnFormat::Fractions;
    if (mostDigits == 0)
        return StatsColumnFormat::WholeNumbers;
    return mostDigits == 1 ? StatsColumnFormat::OneDecimal : StatsColumnFormat::TwoDecimals;
}

std::optional<std::string> ImportCsv(CStatsDataSet& data, std::string_view text) {
    const std::vector<std::vector<std::string>> records = ParseCsv(text);
    std::size_t width = 0;
    for (const auto& r : records)
        width = std::max(width, r.size());
    if (records.empty() || width == 0)
        return std::string(kCsvHoldsNoData);
    if (width > static_cast<std::size_t>(kCsvMaxColumns) ||
        records.size() - 1 > static_cast<std::size_t>(kCsvMaxCases))
        return std::string(kCsvTooLarge);
    const int columns = static_cast<int>(width);
    const int cases = static_cast<int>(records.size()) - 1;
    const auto field = [&](int record, int column) -> std::string_view {
        const auto& r = records[static_cast<std::size_t>(record)];
        return static_cast<std::size_t>(column) < r.size()
                   ? std::string_view(r[static_cast<std::size_t>(column)])
                   : std::string_view();
    };
    data.Reset(cases, columns);
    for (int c = 0; c < columns; ++c) {
        std::vector<std::string_view> cells;
        cells.reserve(static_cast<std::size_t>(cases));
        for (int r = 1; r <= cases; ++r)
            cells.push_back(field(r, c));
        const StatsColumnFormat format = NarrowestFormat(cells);
        CStatsCell& header = data.Cell(0, c + 1);
        header.SetText(TrimSpace(field(0, c)));
        header.format = static_cast<std::int32_t>(format);
        const bool decimal =
            format == StatsColumnFormat::OneDecimal || format == StatsColumnFormat::TwoDecimals;
        for (int r = 1; r <= cases; ++r) {
            const std::string_view value = TrimSpace(field(r, c));
            if (value.empty())
                continue;
            CStatsCell& cell = data.Cell(r, c + 1);
            if (format == StatsColumnFormat::Categories) {
                cell.SetText(value);
                continue;
            }
            const CNumber n{value};
            cell.SetNumber(decimal ? CNumber(n.ToDouble()) : n);
        }
    }
    data.EnsureBlankCases();
    return std::nullopt;
}

} // namespace quorvel
