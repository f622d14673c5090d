// Recording fakes of the core's platform interfaces: every drawing call, message, timer and
// file dialog is recorded, and answers are queued by the test.
#pragma once

#include "workspace/document_host.h"
#include "workspace/drawing_surface.h"
#include "workspace/file_chooser.h"
#include "workspace/prompter.h"
#include "workspace/timer_host.h"
#include "workspace/unit_view_controller.h"

#include <deque>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace quorvel::testing {

// Text metrics of a fixed-pitch font: every character is 7 pixels wide and lines are 16 high,
// so that tests can compute expected sizes by hand.
class FakeTextMetrics : public ITextMetrics {
public:
    int charWidth = 7;
    int lineHeight = 16;

    CSize TextExtent(const CFontSpec&, std::string_view s) override {
        return {static_cast<int>(CountChars(s)) * charWidth, lineHeight};
    }
    CSize WrappedExtent(const CFontSpec&, std::string_view s, int width) override {
        // Greedy word wrap on spaces; explicit line breaks kept.
        int lines = 0, widest = 0;
        std::string para;
        std::istringstream in{std::string(s)};
        while (std::getline(in, para)) {
            int x = 0;
            ++lines;
            std::istringstream words(para);
            std::string w;
            while (words >> w) {
                const int ww = static_cast<int>(CountChars(w)) * charWidth;
                const int need = x == 0 ? ww : x + charWidth + ww;
                if (x > 0 && need > width) {
                    ++lines;
                    widest = std::max(widest, x);
                    x = ww;
                } else {
                    x = need;
                }
            }
            widest = std::max(widest, x);
        }
        return {widest, std::max(lines, 1) * lineHeight};
    }
    int LineHeight(const CFontSpec&) override { return lineHeight; }
    int AverageCharWidth(const CFontSpec&) override { return charWidth; }

    static std::size_t CountChars(std::string_view s) {
        std::size_t n = 0;
        for (char c : s)
            n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return n;
    }
};

// Records every call as one line of text ("pen 2 #ff0000", "line 0,0 10,10", ...), so tests
// compare what was drawn without pixels or fonts.
class RecordingSurface : public IDrawingSurface {
public:
    std::vector<std::string> calls;
    FakeTextMetrics metrics;

    static std::string Hex(Color c) {
        if (c == kNoColor)
            return "none";
        char buf[16];
        std::snprintf(buf, sizeof buf, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
        return buf;
    }
    static std::string Pt(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    static std::string Rc(const CRect& r) {
        return Pt({r.left, r.top}) + " " + Pt({r.right, r.bottom});
    }

    void SetPen(int width, Color color) override {
        calls.push_back("pen " + std::to_string(width) + " " + Hex(color));
    }
    void SetNullPen() override { calls.push_back("pen none"); }
    void SetBrush(Color color) override { calls.push_back("brush " + Hex(color)); }
    void SetNullBrush() override { calls.push_back("brush none"); }
    void Line(CPoint a, CPoint b) override { calls.push_back("line " + Pt(a) + " " + Pt(b)); }
    void Polygon(const std::vector<CPoint>& pts) override {
        calls.push_back("polygon" + List(pts));
    }
    void Polyline(const std::vector<CPoint>& pts) override {
        calls.push_back("polyline" + List(pts));
    }
    void Rectangle(const CRect& r) override { calls.push_back("rect " + Rc(r)); }
    void FillRect(const CRect& r, Color c) override {
        calls.push_back("fill " + Rc(r) + " " + Hex(c));
    }
    void Ellipse(const CRect& r) override { calls.push_back("ellipse " + Rc(r)); }
    void Arc(const CRect& r, CPoint s, CPoint e) override {
        calls.push_back("arc " + Rc(r) + " " + Pt(s) + " " + Pt(e));
    }
    void Pie(const CRect& r, CPoint s, CPoint e) override {
        calls.push_back("pie " + Rc(r) + " " + Pt(s) + " " + Pt(e));
    }
    void SetFont(const CFontSpec& f) override {
        calls.push_back("font " + f.face + " " + std::to_string(f.pointSizeTenths));
    }
    void SetTextColor(Color c) override { calls.push_back("textcolor " + Hex(c)); }
    void SetTextBackground(Color c, bool transparent) override {
        calls.push_back(transparent ? "textbg transparent" : "textbg " + Hex(c));
    }
    void TextOut(CPoint at, std::string_view s) override {
        calls.push_back("text " + Pt(at) + " " + std::string(s));
    }
    void DrawText(const CRect& r, std::string_view s, unsigned align) override {
        calls.push_back("drawtext " + Rc(r) + " " + std::to_string(align) + " " + std::string(s));
    }
    void SetClip(const CRect& r) override { calls.push_back("clip " + Rc(r)); }
    void ClearClip() override { calls.push_back("clip none"); }
    ITextMetrics& Metrics() override { return metrics; }

    // Calls that start with `prefix`.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c.rfind(prefix, 0) == 0)
                out.push_back(c);
        return out;
    }

private:
    static std::string List(const std::vector<CPoint>& pts) {
        std::string s;
        for (auto p : pts)
            s += " " + Pt(p);
        return s;
    }
};

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

// Queued answers; an empty queue answers Ok, Yes, the first button or Cancel.
class FakePrompter : public IPrompter {
public:
    std::vector<RecordedMessage> messages;
    std::deque<MessageResult> answers;
    std::deque<int> choices;
    std::deque<std::optional<std::string>> texts;
    std::vector<std::string> initialTexts;            // what each AskText box showed at first
    std::vector<std::size_t> textLimits;              // how many characters each box took
    std::vector<std::vector<std::string>> buttonSets; // the buttons of each Choose

    MessageResult MessageBox(const std::string& text, MessageIcon icon, MessageButtons buttons,
                             const std::string&) override {
        messages.push_back({text, icon, buttons});
        if (!answers.empty()) {
            auto a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel
                   ? MessageResult::Ok
                   : MessageResult::Yes;
    }
    int Choose(const std::string& text, const std::vector<std::string>& buttons,
               const std::string&) override {
        messages.push_back({text, MessageIcon::Question, MessageButtons::Ok});
        buttonSets.push_back(buttons);
        if (choices.empty())
            return 0;
        int c = choices.front();
        choices.pop_front();
        return c;
    }
    std::optional<std::string> AskText(const std::string& prompt, const std::string& initial,
                                       const std::string&, std::size_t maxChars) override {
        messages.push_back({prompt, MessageIcon::Question, MessageButtons::OkCancel});
        initialTexts.push_back(initial);
        textLimits.push_back(maxChars);
        if (texts.empty())
            return std::nullopt;
        auto t = texts.front();
        texts.pop_front();
        return t;
    }
    std::string LastText() const { return messages.empty() ? std::string() : messages.back().text; }
};

class FakeTimerHost : public ITimerHost {
public:
    struct Timer {
        int interval;
        ITimerClient* client;
    };
    std::map<std::uint32_t, Timer> running;
    bool refuse = false;

    bool StartTimer(std::uint32_t id, int intervalMs, ITimerClient* client) override {
        if (refuse)
            return false;
        running[id] = {intervalMs, client};
        return true;
    }
    void KillTimer(std::uint32_t id) override { running.erase(id); }
    bool IsRunning(std::uint32_t id) const override { return running.count(id) != 0; }
    // Fires timer `id` once; false when it is not running.
    bool Fire(std::uint32_t id) {
        auto it = running.find(id);
        if (it == running.end())
            return false;
        it->second.client->OnTimer(id);
        return true;
    }
};

class FakeFileChooser : public IFileChooser {
public:
    std::vector<CFileDialogRequest> requests;
    std::deque<std::optional<std::string>> answers;

    std::optional<CFileDialogResult> Choose(const CFileDialogRequest& r) override {
        requests.push_back(r);
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        if (!a)
            return std::nullopt;
        return CFileDialogResult{*a, r.directory};
    }
};

// A page that shows no buttons and has no controls: for tests of what a controller does to the
// document.
class QuietWindow : public IUnitViewWindow {
public:
    void EnableView(bool) override {}
    void ShowButton(int, bool) override {}
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override {}
};

// The application around a document: fake dialogs, a caption and a log.
class FakeDocumentHost : public IDocumentHost {
public:
    FakePrompter prompter;
    FakeFileChooser chooser;
    CDirectories directories{"/home/pupil/Desktop", "/opt/quorvel/class", "/opt/quorvel/bboard",
                             "/opt/quorvel/tbboard"};
    std::string caption = "Quorvel Demonstration";
    std::string status;
    std::vector<std::string> log;

    IPrompter& Prompter() override { return prompter; }
    IFileChooser& FileChooser() override { return chooser; }
    const CDirectories& Directories() const override { return directories; }
    std::string MainCaption() const override { return caption; }
    void SetMainCaption(const std::string& c) override { caption = c; }
    void SetStatusText(const std::string& s) override { status = s; }
    void LogError(const std::string& e) override { log.push_back(e); }
};

} // namespace quorvel::testing
