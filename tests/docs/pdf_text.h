// Just enough of a PDF reader to check what the companion documents say: the pages in order
// and the text on each, decoded through the fonts' ToUnicode maps, as Qt's PDF writer lays
// them out (Flate streams, Type0 fonts with two-byte glyph codes, text shown with Tj).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace quorvel::testing {

struct CPdfObject {
    std::string dictionary;
    std::string stream; // inflated
};

class CPdfText {
public:
    // Reads the file; `error` says what went wrong when it returns false.
    bool Load(const std::string& path, std::string& error);

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // The text of page `i` (from 0), with every run of white space made one space.
    const std::string& pageText(int i) const { return m_pages.at(static_cast<std::size_t>(i)); }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string PageText(const CPdfObject& page);

    std::string m_bytes;
    std::map<int, CPdfObject> m_objects;
    std::vector<std::string> m_pages;
};

// Every run of white space made one space, and the ends trimmed.
std::string Squeezed(const std::string& text);

} // namespace quorvel::testing
