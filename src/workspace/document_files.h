// A unit document's files: New, Open, Save and Save As, the file dialogs, the paths the
// document came from and the caption that shows them.
#pragma once

#include "workspace/file_chooser.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CUnitDocument;
class IFileOps;

inline constexpr const char* kFailedToOpen = "Failed to open document.";
inline constexpr const char* kFailedToSave = "Failed to save document.";
inline constexpr const char* kFailedToExportPdf = "Failed to export the PDF.";
inline constexpr const char* kAskToSave =
    "The document has been modified. Do you wish to save your changes?";

enum class OpenResult { Opened, EmptyFile, WrongSignature, Failed };

class CDocumentFiles {
public:
    explicit CDocumentFiles(CUnitDocument& doc) : m_doc(doc) {}
    CDocumentFiles(const CDocumentFiles&) = delete;
    CDocumentFiles& operator=(const CDocumentFiles&) = delete;

    // The file system Open and Save go through; null is the real one. Tests make it fail.
    void SetFileOps(IFileOps* ops) { m_fileOps = ops; }

    // Reads `path` into the document, with the messages of a failed open.
    OpenResult OpenDocument(const std::string& path);
    // Writes the document to `path` atomically; on failure the old file stays whole.
    bool SaveDocument(const std::string& path);

    bool New();
    bool Open();
    bool Save();
    bool SaveAs();
    // Export as PDF's file question, in the Save As folders: the chosen path with ".pdf" added
    // when it has no extension, or nothing on Cancel. The folder choice stays.
    std::optional<std::string> ChoosePdfPath(const std::string& defaultName) const;
    // The same question for any export: the dialog's title, filter and extension.
    std::optional<std::string> ChooseExportPath(const std::string& title, const std::string& filter,
                                                const std::string& extension,
                                                const std::string& defaultName) const;
    // Asks to save a modified document: false when the user cancels or saving failed.
    bool AskToSave();
    // The main caption cut after the unit title, with " - path" when there is a path.
    void UpdateCaption(const std::string& path);

    DirectoryChoice directoryChoice() const { return m_directoryChoice; }
    void SetDirectoryChoice(DirectoryChoice d) { m_directoryChoice = d; }
    const std::string& filePath() const { return m_filePath; }
    void SetFilePath(const std::string& p) { m_filePath = p; }
    const std::string& activityPath() const { return m_activityPath; }
    void SetActivityPath(const std::string& p) { m_activityPath = p; }
    const std::string& activityName() const { return m_activityName; }
    void SetActivityName(const std::string& name) { m_activityName = name; }

private:
    CFileDialogRequest DialogRequest(bool save) const;
    IFileOps& FileOps() const;

    CUnitDocument& m_doc;
    IFileOps* m_fileOps = nullptr;
    DirectoryChoice m_directoryChoice = DirectoryChoice::Personal;
    std::string m_filePath;
    std::string m_activityPath;
    std::string m_activityName;
};

} // namespace quorvel
