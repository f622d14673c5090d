// File commands of a unit document: reading and writing its files and asking where.
#include "workspace/document_files.h"

#include "workspace/document_host.h"
#include "workspace/file_store.h"
#include "workspace/prompter.h"
#include "workspace/unit_document.h"

namespace quorvel {

namespace {
// File name without folder and extension, and the extension without its dot.
void SplitFileName(const std::string& path, std::string& title, std::string& ext) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    title = dot == std::string::npos ? name : name.substr(0, dot);
    ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
} // namespace

IFileOps& CDocumentFiles::FileOps() const {
    return m_fileOps ? *m_fileOps : SystemFileOps();
}

OpenResult CDocumentFiles::OpenDocument(const std::string& path) {
    IDocumentHost* host = m_doc.host();
    std::vector<std::uint8_t> bytes;
    const ReadResult read = ReadDocumentFile(path, bytes, FileOps());
    if (read != ReadResult::Ok) {
        if (host) {
            host->LogError(path + ": " +
                           (read == ReadResult::TooLarge ? "too large" : "cannot read"));
            host->Prompter().MessageBox(kFailedToOpen, MessageIcon::Exclamation);
        }
        return OpenResult::Failed;
    }
    // The pupil's work before a failed open stays one Undo away.
    std::vector<std::uint8_t> before =
        bytes.empty() ? std::vector<std::uint8_t>{} : m_doc.UndoSnapshot();
    if (host)
        host->BeginWaitCursor();
    std::string error;
    const OpenResult result = m_doc.LoadFromBytes(bytes, &error);
    if (host)
        host->EndWaitCursor();
    switch (result) {
    case OpenResult::EmptyFile:
        break;
    case OpenResult::WrongSignature:
        if (host)
            host->Prompter().MessageBox(m_doc.identity().wrongFileMessage, MessageIcon::Stop);
        break;
    case OpenResult::Failed:
        m_doc.MarkUndoStepBefore(std::move(before));
        if (host) {
            host->LogError(path + ": " + error);
            host->Prompter().MessageBox(kFailedToOpen, MessageIcon::Exclamation);
        }
        break;
    case OpenResult::Opened:
        m_doc.ClearUndoHistory();
        break;
    }
    m_doc.InvalidateAll();
    if (m_doc.m_view)
        m_doc.m_view->DocumentStateChanged();
    return result;
}

bool CDocumentFiles::SaveDocument(const std::string& path) {
    const std::vector<std::uint8_t> bytes = m_doc.SaveToBytes();
    if (!SaveFileAtomically(path, bytes, FileOps())) {
        if (IDocumentHost* host = m_doc.host()) {
            host->LogError(path + ": save failed");
            host->Prompter().MessageBox(kFailedToSave, MessageIcon::Exclamation);
        }
        return false;
    }
    m_doc.m_modified = false;
    if (m_doc.m_view)
        m_doc.m_view->DocumentStateChanged();
    return true;
}

CFileDialogRequest CDocumentFiles::DialogRequest(bool save) const {
    const CUnitIdentity& identity = m_doc.identity();
    CFileDialogRequest r;
    r.save = save;
    r.filter = identity.fileFilter;
    r.defaultExtension = identity.defaultExtension;
    r.directory = m_directoryChoice;
    if (const IDocumentHost* host = m_doc.host()) {
        const CDirectories& d = host->Directories();
        r.personalFolder = d.personal;
        r.bulletinBoardFolder = d.bulletinBoard;
        r.teacherBulletinBoardFolder = d.teacherBulletinBoard;
    }
    switch (m_directoryChoice) {
    case DirectoryChoice::Personal:
        r.initialFolder = r.personalFolder;
        break;
    case DirectoryChoice::BulletinBoard:
        r.initialFolder = r.bulletinBoardFolder;
        break;
    case DirectoryChoice::TeacherBulletinBoard:
        r.initialFolder = r.teacherBulletinBoardFolder;
        break;
    }
    if (save)
        r.defaultName = m_activityName;
    return r;
}

bool CDocumentFiles::AskToSave() {
    IDocumentHost* host = m_doc.host();
    if (!m_doc.IsModified() || !host)
        return true;
    switch (host->Prompter().MessageBox(kAskToSave, MessageIcon::Question,
                                        MessageButtons::YesNoCancel)) {
    case MessageResult::Yes:
        return Save();
    case MessageResult::No:
        return true;
    default:
        return false;
    }
}

bool CDocumentFiles::New() {
    if (m_doc.problemSetMode())
        m_doc.SetModifiedFlag();
    if (!AskToSave())
        return false;
    m_doc.ClearUndoHistory();
    IWorkspaceView* view = m_doc.m_view;
    if (m_doc.problemSetMode()) {
        CProblemPosition position = m_doc.problemPosition();
        position.index = -1;
        m_doc.SetProblemPosition(position);
        m_doc.SetLoading(true);
        if (view)
            view->GoToNextProblem();
        m_doc.SetLoading(false);
        return true;
    }
    m_filePath.clear();
    m_activityPath.clear();
    UpdateCaption(m_filePath);
    m_doc.ClearWorkspace();
    m_doc.NewDocumentContents();
    m_doc.m_modified = false;
    if (view) {
        view->ResetView();
        view->DocumentStateChanged();
    }
    return true;
}

bool CDocumentFiles::Open() {
    IDocumentHost* host = m_doc.host();
    if (!AskToSave() || !host)
        return false;
    const auto chosen = host->FileChooser().Choose(DialogRequest(false));
    if (!chosen)
        return false;
    m_directoryChoice = chosen->directory;
    m_doc.SetLoading(true);
    const bool ok = OpenDocument(chosen->path) == OpenResult::Opened;
    if (ok) {
        m_filePath = chosen->path;
        m_activityPath = chosen->path;
        if (m_doc.problemSetMode()) {
            std::string title, ext;
            SplitFileName(chosen->path, title, ext);
            m_doc.SetActivityFileName(title + "." + ext);
            m_filePath.clear();
            m_activityName = "Probset";
        } else {
            host->DocumentFileUsed(chosen->path);
        }
    }
    UpdateCaption(m_filePath);
    m_doc.SetLoading(false);
    return ok;
}

bool CDocumentFiles::Save() {
    if (m_filePath.empty())
        return SaveAs();
    const bool ok = SaveDocument(m_filePath);
    UpdateCaption(m_filePath);
    if (ok && m_doc.host())
        m_doc.host()->DocumentFileUsed(m_filePath);
    return ok;
}

bool CDocumentFiles::SaveAs() {
    IDocumentHost* host = m_doc.host();
    if (!host)
        return false;
    const auto chosen = host->FileChooser().Choose(DialogRequest(true));
    if (!chosen)
        return false;
    m_directoryChoice = chosen->directory;
    std::string path = chosen->path;
    std::string title, ext;
    SplitFileName(path, title, ext);
    const std::string& defaultExtension = m_doc.identity().defaultExtension;
    if (ext.empty() && !defaultExtension.empty())
        path += "." + defaultExtension;
    if (!SaveDocument(path))
        return false;
    m_filePath = path;
    m_activityPath = path;
    UpdateCaption(m_filePath);
    host->DocumentFileUsed(path);
    return true;
}

std::optional<std::string> CDocumentFiles::ChoosePdfPath(const std::string& defaultName) const {
    return ChooseExportPath("Export as PDF", "PDF Files (*.pdf)|*.pdf||", "pdf", defaultName);
}

std::optional<std::string> CDocumentFiles::ChooseExportPath(const std::string& title,
                                                            const std::string& filter,
                                                            const std::string& extension,
                                                            const std::string& defaultName) const {
    IDocumentHost* host = m_doc.host();
    if (!host)
        return std::nullopt;
    CFileDialogRequest request = DialogRequest(true);
    request.title = title;
    request.filter = filter;
    request.defaultExtension = extension;
    request.defaultName = defaultName;
    const auto chosen = host->FileChooser().Choose(request);
    if (!chosen)
        return std::nullopt;
    std::string path = chosen->path, stem, ext;
    SplitFileName(path, stem, ext);
    if (ext.empty())
        path += "." + extension;
    return path;
}

void CDocumentFiles::UpdateCaption(const std::string& path) {
    IDocumentHost* host = m_doc.host();
    if (!host)
        return;
    const std::string& unitTitle = m_doc.identity().unitTitle;
    std::string caption = host->MainCaption();
    const auto at = caption.find(unitTitle);
    if (at != std::string::npos)
        caption.erase(at + unitTitle.size());
    if (!path.empty())
        caption += " - " + path;
    host->SetMainCaption(caption);
}

} // namespace quorvel
