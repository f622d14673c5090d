// qvtool verbs that read and write whole documents, and the verb dispatch.
#include "tools/qvtool/qvtool.h"

#include "app/document_factory.h"
#include "workspace/archive.h"
#include "workspace/file_store.h"

#include <ostream>

namespace quorvel {
namespace {

struct LoadedDocument {
    std::unique_ptr<CUnitDocument> doc;
    std::string error;
};

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
    const std::uint32_t signature = static_cast<std::uint32_t>(bytes[0]) |
                                    (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                    (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                    (static_cast<std::uint32_t>(bytes[3]) << 24);
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

} // namespace

int CQvTool::Usage() {
    m_err << "usage: qvtool info FILE...\n"
             "       qvtool resave IN OUT\n"
             "       qvtool calc A [OP B]\n"
             "       qvtool cmdline [--program-dir DIR] -- ARG...\n";
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
    if (verb == "calc")
        return Calc(rest);
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
        m_out << "document: " << doc.identity().unitTitle << " (." << doc.identity().defaultExtension
              << ", signature " << doc.identity().signature << ")\n";
        m_out << "manipulatives: " << doc.manipulatives().size() << "\n";
        m_out << "types:";
        for (const auto& m : doc.manipulatives())
            m_out << " " << m->GetType();
        m_out << "\n";
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

} // namespace quorvel
