// Lays out a companion text on A4 pages and writes it as a PDF file.
#pragma once

#include "tools/companion_docs/companion_text.h"

#include <QString>

#include <stdexcept>

namespace quorvel::companion {

// A page whose blocks do not fit, or a figure that does not exist.
class CLayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the PDF at `path`. Its creation date is `date` ("D:YYYYMMDDHHmmSSZ"), so that the same
// text always gives the same file.
void WriteCompanionPdf(const CCompanionText& text, const QString& path, const std::string& date);

} // namespace quorvel::companion
