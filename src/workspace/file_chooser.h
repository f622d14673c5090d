// The file dialogs a unit document shows for Open and Save As.
#pragma once

#include <optional>
#include <string>

namespace quorvel {

// The three folders the dialog's "Directory" group offers; the choice is kept by the document.
enum class DirectoryChoice { Personal = 0, BulletinBoard = 1, TeacherBulletinBoard = 2 };

struct CFileDialogRequest {
    bool save = false;
    std::string title; // the dialog's caption; empty for "Open" or "Save As"
    // Filter in the "Description (*.ext)|*.ext||All Files (*.*)|*.*||" form.
    std::string filter;
    std::string defaultExtension; // without the dot
    std::string defaultName;      // offered by Save As
    std::string initialFolder;
    DirectoryChoice directory = DirectoryChoice::Personal;
    std::string personalFolder;
    std::string bulletinBoardFolder;
    std::string teacherBulletinBoardFolder;
};

struct CFileDialogResult {
    std::string path;
    DirectoryChoice directory = DirectoryChoice::Personal; // the folder button last chosen
};

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // The chosen path, or nothing on Cancel.
    virtual std::optional<CFileDialogResult> Choose(const CFileDialogRequest& request) = 0;
};

} // namespace quorvel
