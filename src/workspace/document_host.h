// What a unit document needs from the application around it, and what it tells its view.
#pragma once

#include "workspace/question.h"
#include "workspace/types.h"

#include <string>

namespace quorvel {

class IPrompter;
class IFileChooser;
class CNotepadText;

// The four working folders, each without a trailing separator.
struct CDirectories {
    std::string personal;
    std::string classDir;
    std::string bulletinBoard;
    std::string teacherBulletinBoard;
    friend bool operator==(const CDirectories&, const CDirectories&) = default;
};

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    virtual IPrompter& Prompter() = 0;
    virtual IFileChooser& FileChooser() = 0;
    virtual const CDirectories& Directories() const = 0;
    virtual std::string MainCaption() const = 0;
    virtual void SetMainCaption(const std::string& caption) = 0;
    virtual void SetStatusText(const std::string&) {}
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
    // A detail for the log when an open or save fails (the user sees the fixed message).
    virtual void LogError(const std::string&) {}
    // The program's notepad text, which some documents save with them; null without one.
    virtual CNotepadText* Notepad() { return nullptr; }
    // Authoring mode ("/AM"): the options sheets show their teacher pages.
    virtual bool AuthoringMode() const { return false; }
    // A document was opened from or saved to `path` by the pupil (the recent files list).
    virtual void DocumentFileUsed(const std::string&) {}
};

// The workspace view as its document sees it. Every hook does nothing by default, so a
// document works without a view (qvtool, tests).
class IWorkspaceView {
public:
    virtual ~IWorkspaceView() = default;
    virtual void InvalidateRect(const CRect&) {}
    virtual void InvalidateAll() {}
    // After New outside a problem set, and after Undo or Redo.
    virtual void ResetView() {}
    // Problem sets: go on to the next problem (New in problem-set mode).
    virtual void GoToNextProblem() {}
    virtual void SetProblemCount(int) {}
    virtual void SetProblemCounterText(const std::string&) {}
    virtual void SetCurrentProblem(int) {}
    virtual void BeginProblem(const CQuestionSet&, int /*questionCount*/, int /*checkState*/) {}
    virtual void Print() {}
    // The document's modified flag or undo history changed (menus grey or ungrey).
    virtual void DocumentStateChanged() {}
};

} // namespace quorvel
