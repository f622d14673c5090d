// Lays out one-page placeholder PDFs for the companion documents of the Documents menus, so
// that every menu command opens a page titled for what it will hold until the real material
// is added. A document already in
// resources/docs is left to the copy of that folder, and one whose text is in the companion
// text folder to the companion documents tool, which draws it.
//
//   quorvel_placeholder_docs <output folder> <resources/docs folder> <companion text folder>
#include "app/tools_menu.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using quorvel::CCompanionDocument;
namespace fs = std::filesystem;

// A PDF string literal: parentheses and backslashes escaped.
std::string PdfString(const std::string& text) {
    std::string out = "(";
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + ")";
}

std::string Text(const char* font, int size, int x, int y, const std::string& text) {
    std::ostringstream s;
    s << "BT /" << font << ' ' << size << " Tf " << x << ' ' << y << " Td " << PdfString(text)
      << " Tj ET\n";
    return s.str();
}

// What kind of material the document is, from its title.
std::string Description(const std::string& name) {
    if (name.find("Reproducible Master") != std::string::npos)
        return "A printable worksheet for the teacher to copy for the class.";
    if (name.find("Activity Book Page") != std::string::npos)
        return "A page of the pupils' activity book.";
    return "Activities from the pupils' activity book.";
}

std::string PageContent(const CCompanionDocument& doc) {
    const std::string title = doc.title;
    const std::size_t colon = title.find(": ");
    const std::string unit = colon == std::string::npos ? std::string() : title.substr(0, colon);
    const std::string name = colon == std::string::npos ? title : title.substr(colon + 2);

    std::string s;
    // The workspace's light blue band across the top.
    s += "0.380 0.749 1.000 rg 0 742 595 100 re f\n";
    s += "0 0 0 rg\n";
    s += Text("F2", 28, 50, 785, "QUORVEL");
    s += Text("F1", 16, 50, 758, unit);
    s += Text("F2", 26, 50, 670, name);
    s += Text("F1", 13, 50, 640, Description(name));
    // The frame where the page will be.
    s += "0.5 G 1 w [6 4] 0 d 50 180 495 420 re S [] 0 d\n";
    s += "0.45 g\n";
    s += Text("F1", 14, 175, 400, "The printable page will appear here.");
    s += Text("F1", 11, 100, 378,
              "It comes with the unit's activities; until then this page keeps its place.");
    s += "0 g\n";
    s += Text("F1", 9, 50, 60, std::string("Quorvel Demonstration - ") + doc.fileName);
    return s;
}

std::string PdfFile(const std::string& title, const std::string& content);

std::string PdfDocument(const CCompanionDocument& doc) {
    return PdfFile(doc.title, PageContent(doc));
}

std::string PdfFile(const std::string& title, const std::string& content) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 6 0 R "
        "/Resources << /Font << /F1 4 0 R /F2 5 0 R >> >> >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Title " + PdfString(title) + " /Producer (Quorvel) >>",
    };
    std::string out = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R /Info 7 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::cerr << "usage: quorvel_placeholder_docs <output folder> <resources/docs folder> "
                     "<companion text folder>\n";
        return 2;
    }
    const fs::path outDir = argv[1];
    const fs::path resources = argv[2];
    const fs::path companionTexts = argv[3];
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "cannot make " << outDir << ": " << ec.message() << "\n";
        return 1;
    }
    const auto write = [&](const std::string& name, const std::string& pdf) {
        if (fs::exists(resources / name) ||
            fs::exists(companionTexts / fs::path(name).replace_extension(".txt")))
            return true;
        const fs::path target = outDir / name;
        std::ofstream file(target, std::ios::binary | std::ios::trunc);
        file << pdf;
        if (!file.flush()) {
            std::cerr << "cannot write " << target << "\n";
            return false;
        }
        return true;
    };
    for (const CCompanionDocument& doc : quorvel::CompanionDocuments())
        if (!write(doc.fileName, PdfDocument(doc)))
            return 1;
    return 0;
}
