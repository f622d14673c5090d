// qvtool verbs that read and write whole documents, and the verb dispatch.
#include "tools/qvtool/qvtool.h"

#include "tools/qvtool/qvtool_load.h"

#include "app/document_factory.h"
#include "geometry/geometry_document.h"
#include "patterns/patterns_documents.h"
#include "statistics/stats_document.h"
#include "workspace/archive.h"
#include "workspace/file_store.h"

#include <fstream>
#include <istream>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>

namespace quorvel {
// Reads `path` into the document its signature names.
LoadedDocument LoadDocument(const std::string& path) {
    LoadedDocument out;
    std::vector<std::uint8_t> bytes;
    switch (ReadDocumentFile(path, bytes)) {
    case ReadResult::CannotOpen:
        out.error = "cannot read the file";
        return out;
    case ReadResult::TooLarge:
        out.error = "the file is too large to be a document";
        return out;
    case ReadResult::Ok:
        break;
    }
    if (bytes.size() < 4) {
        out.error = bytes.empty() ? "the file is empty" : "the file is too short to be a document";
        return out;
    }
    const std::uint32_t signature =
        static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
        (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    out.doc = CreateDocumentForSignature(signature);
    if (!out.doc) {
        out.error = "not a Quorvel document (signature " + std::to_string(signature) + ")";
        return out;
    }
    std::string detail;
    if (out.doc->LoadFromBytes(bytes, &detail) != OpenResult::Opened) {
        out.error = "Failed to open document. " + detail;
        out.doc.reset();
    }
    return out;
}

int CQvTool::Usage() {
    m_err << "usage: qvtool info FILE...          document type and manipulatives\n"
             "       qvtool validate FILE...      open as the program would; first error and its "
             "place\n"
             "       qvtool dump FILE             the whole document as JSON\n"
             "       qvtool build JSON|- OUT      a document from JSON (the inverse of dump)\n"
             "       qvtool render FILE OUT.png|OUT.svg [--scale S]\n"
             "                                    draw the workspace as the program shows it\n"
             "       qvtool render FILE.qvs OUT.png|OUT.svg --view table|board|bar|pie|line\n"
             "                     [--column N]   a Statistics page's mode: the table, the board\n"
             "                                    or a graph\n"
             "       qvtool resave IN OUT         read a document and write it back\n"
             "       qvtool calc A [OP B]         exact arithmetic as the number machines do it\n"
             "       qvtool chain [--fractional] A OP B [X OP Y]...\n"
             "                                    machines linked one after another; _ is the\n"
             "                                    previous output, OP + - x / or ? (none)\n"
             "       qvtool code shift N DIRECTION TEXT | group N TEXT |\n"
             "                   keyword WORD encode|decode TEXT\n"
             "                                    one code machine applied to a text\n"
             "       qvtool run FILE.qvn|FILE.qvc [--save OUT]\n"
             "                                    run every supermachine as Go would\n"
             "       qvtool stats FILE.qvs [--column N] [--decimals D]\n"
             "                                    the Summary Statistics window's lines\n"
             "       qvtool cmdline [--program-dir DIR] -- ARG...\n"
             "                                    what the program makes of a command line\n"
             "exit status: 0 success, 1 a file or value failed, 2 usage\n";
    return 2;
}

int CQvTool::Run(const std::vector<std::string>& args) {
    if (args.empty())
        return Usage();
    const std::string& verb = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (verb == "info" && !rest.empty())
        return Info(rest);
    if (verb == "resave" && rest.size() == 2)
        return Resave(rest[0], rest[1]);
    if (verb == "dump" && rest.size() == 1)
        return Dump(rest[0]);
    if (verb == "build" && rest.size() == 2)
        return Build(rest[0], rest[1]);
    if (verb == "validate" && !rest.empty())
        return Validate(rest);
    if (verb == "render" && rest.size() >= 2)
        return Render(rest);
    if (verb == "calc")
        return Calc(rest);
    if (verb == "chain")
        return Chain(rest);
    if (verb == "code")
        return Code(rest);
    if (verb == "run")
        return RunMachines(rest);
    if (verb == "stats")
        return Stats(rest);
    if (verb == "cmdline")
        return Cmdline(rest);
    if (verb == "--help" || verb == "-h" || verb == "help") {
        Usage();
        return 0;
    }
    return Usage();
}

int CQvTool::Info(const std::vector<std::string>& files) {
    int status = 0;
    for (const std::string& path : files) {
        const LoadedDocument loaded = LoadDocument(path);
        if (files.size() > 1)
            m_out << path << ":\n";
        if (!loaded.doc) {
            m_err << path << ": " << loaded.error << "\n";
            status = 1;
            continue;
        }
        const CUnitDocument& doc = *loaded.doc;
        m_out << "document: " << doc.identity().unitTitle << " (."
              << doc.identity().defaultExtension << ", signature " << doc.identity().signature
              << ")\n";
        m_out << "manipulatives: " << doc.manipulatives().size() << "\n";
        // One count per type code: a crowded document must not print a number per manipulative.
        std::map<int, std::size_t> types;
        for (const auto& m : doc.manipulatives())
            ++types[m->GetType()];
        m_out << "types:";
        const char* separator = " ";
        for (const auto& [type, count] : types) {
            m_out << separator << type << " x " << count;
            separator = ", ";
        }
        m_out << (types.empty() ? " none\n" : "\n");
        if (const auto* geometry = dynamic_cast<const CGeometryUnitDocument*>(&doc))
            for (const std::string& line : DescribeGeometryDocument(*geometry))
                m_out << line << "\n";
        if (const auto* numbers = dynamic_cast<const CNumberPatternsDocument*>(&doc))
            for (const std::string& line : DescribeNumbersDocument(*numbers))
                m_out << line << "\n";
        if (const auto* designs = dynamic_cast<const CDesignPatternsDocument*>(&doc))
            for (const std::string& line : DescribeDesignsDocument(*designs))
                m_out << line << "\n";
        if (const auto* codes = dynamic_cast<const CCodePatternsDocument*>(&doc))
            for (const std::string& line : DescribeCodesDocument(*codes))
                m_out << line << "\n";
        if (const auto* stats = dynamic_cast<const CStatsUnitDocument*>(&doc))
            for (const std::string& line : DescribeStatsDocument(*stats))
                m_out << line << "\n";
    }
    return status;
}

int CQvTool::Resave(const std::string& in, const std::string& out) {
    const LoadedDocument loaded = LoadDocument(in);
    if (!loaded.doc) {
        m_err << in << ": " << loaded.error << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes = loaded.doc->SaveToBytes();
    if (!SaveFileAtomically(out, bytes)) {
        m_err << out << ": Failed to save document.\n";
        return 1;
    }
    return 0;
}

int CQvTool::Dump(const std::string& file) {
    const LoadedDocument loaded = LoadDocument(file);
    if (!loaded.doc) {
        m_err << file << ": " << loaded.error << "\n";
        return 1;
    }
    m_out << loaded.doc->DumpToTree().ToJson();
    return 0;
}

int CQvTool::Build(const std::string& json, const std::string& out) {
    std::string text;
    if (json == "-") {
        if (!m_in) {
            m_err << "no input stream to read JSON from\n";
            return 2;
        }
        text.assign(std::istreambuf_iterator<char>(*m_in), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(json, std::ios::binary);
        if (!in) {
            m_err << json << ": cannot read the file\n";
            return 1;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    CValue root;
    CJsonError error;
    if (!ParseJson(text, root, error)) {
        m_err << json << ": malformed JSON at byte " << error.offset << ": " << error.message
              << "\n";
        return 1;
    }
    const CValue* signature =
        root.type() == CValue::Type::Object ? root.Find("signature") : nullptr;
    if (!signature || signature->type() != CValue::Type::Int) {
        m_err << json << ": /signature: a document needs its signature\n";
        return 1;
    }
    auto doc = CreateDocumentForSignature(static_cast<std::uint32_t>(signature->intValue()));
    if (!doc) {
        m_err << json << ": /signature: " << signature->intValue()
              << " is not the signature of a Quorvel document\n";
        return 1;
    }
    std::string detail;
    if (!doc->LoadFromTree(root, &detail)) {
        m_err << json << ": " << detail << "\n";
        return 1;
    }
    if (!SaveFileAtomically(out, doc->SaveToBytes())) {
        m_err << out << ": Failed to save document.\n";
        return 1;
    }
    return 0;
}

int CQvTool::Validate(const std::vector<std::string>& files) {
    int status = 0;
    for (const std::string& path : files) {
        const LoadedDocument loaded = LoadDocument(path);
        if (loaded.doc) {
            m_out << path << ": ok\n";
        } else {
            m_out << path << ": " << loaded.error << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace quorvel
