// What running machines without a page needs: timers that a simulated clock fires in order,
// fixed text metrics, and a host and window that record messages and show nothing.
#pragma once

#include "workspace/document_host.h"
#include "workspace/drawing_surface.h"
#include "workspace/file_chooser.h"
#include "workspace/prompter.h"
#include "workspace/timer_host.h"
#include "workspace/unit_view_controller.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace quorvel::headless {

// Fires the timers in the order a clock would: always the one due first.
class CSimulatedTimers final : public ITimerHost {
public:
    bool StartTimer(std::uint32_t id, int intervalMs, ITimerClient* client) override {
        m_timers[id] = {std::max(intervalMs, 1), m_now + std::max(intervalMs, 1), client};
        return true;
    }
    void KillTimer(std::uint32_t id) override { m_timers.erase(id); }
    bool IsRunning(std::uint32_t id) const override { return m_timers.count(id) != 0; }

    // Fires the timer due first; false when none runs.
    bool FireNext() {
        if (m_timers.empty())
            return false;
        auto next = std::min_element(m_timers.begin(), m_timers.end(),
                                     [](auto& a, auto& b) { return a.second.due < b.second.due; });
        const std::uint32_t id = next->first;
        m_now = next->second.due;
        next->second.due += next->second.interval;
        next->second.client->OnTimer(id);
        return true;
    }

private:
    struct Timer {
        long long interval;
        long long due;
        ITimerClient* client;
    };
    std::map<std::uint32_t, Timer> m_timers;
    long long m_now = 0;
};

// Characters of 7 by 16 pixels: what the layout needs without fonts.
class CFixedMetrics final : public ITextMetrics {
public:
    CSize TextExtent(const CFontSpec&, std::string_view s) override {
        return {7 * static_cast<int>(s.size()), 16};
    }
    CSize WrappedExtent(const CFontSpec& f, std::string_view s, int) override {
        return TextExtent(f, s);
    }
    int LineHeight(const CFontSpec&) override { return 16; }
    int AverageCharWidth(const CFontSpec&) override { return 7; }
};

class CRecordingPrompter final : public IPrompter {
public:
    std::vector<std::string> messages;
    MessageResult MessageBox(const std::string& text, MessageIcon, MessageButtons buttons,
                             const std::string&) override {
        messages.push_back(text);
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
                   ? MessageResult::No
                   : MessageResult::Ok;
    }
    int Choose(const std::string&, const std::vector<std::string>&, const std::string&) override {
        return -1;
    }
    std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&,
                                       std::size_t) override {
        return std::nullopt;
    }
};

class CNoFiles final : public IFileChooser {
public:
    std::optional<CFileDialogResult> Choose(const CFileDialogRequest&) override {
        return std::nullopt;
    }
};

class CHeadlessHost final : public IDocumentHost {
public:
    IPrompter& Prompter() override { return prompter; }
    IFileChooser& FileChooser() override { return m_files; }
    const CDirectories& Directories() const override { return m_directories; }
    std::string MainCaption() const override { return {}; }
    void SetMainCaption(const std::string&) override {}
    CRecordingPrompter prompter;

private:
    CNoFiles m_files;
    CDirectories m_directories;
};

class CHeadlessWindow final : public IUnitViewWindow {
public:
    void EnableView(bool) override {}
    void ShowButton(int, bool) override {}
    CRect ButtonRect(int) const override { return {}; }
    int ControlIdAt(CPoint) const override { return 0; }
    void PressToolButton(int) override {}
    void CloseUnit() override {}
};

} // namespace quorvel::headless
