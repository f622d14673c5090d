// A main window that records what the application asks of it.
#pragma once

#include "app/workshop_frame.h"
#include "workspace/unit_document.h"

#include <set>
#include <string>
#include <vector>

namespace quorvel::testing {

class RecordingFrame : public IWorkshopFrame {
public:
    std::vector<std::string> calls;
    std::set<MenuView> refuse; // pages that cannot be made
    bool refuseUnitPage = false;
    bool desktopFails = false;
    std::vector<std::string> opened; // files handed to the desktop
    int closeRequests = 0;
    CUnitDocument* unitDocument = nullptr;
    std::string unitTitle;
    UnitKind unitKind = UnitKind::Geometry;
    bool unitAuthoring = false;
    bool panelShown = false;

    static std::string Name(MenuView v) {
        switch (v) {
        case MenuView::None:
            return "None";
        case MenuView::Main:
            return "Main";
        case MenuView::GeometryUnit:
            return "GeometryUnit";
        case MenuView::PatternsUnit:
            return "PatternsUnit";
        case MenuView::StatsUnit:
            return "StatsUnit";
        case MenuView::StatsInvestigations:
            return "StatsInvestigations";
        case MenuView::PatternsInvestigations:
            return "PatternsInvestigations";
        case MenuView::GeometryInvestigations:
            return "GeometryInvestigations";
        }
        return "?";
    }

    bool CreateMenuView(MenuView v) override {
        calls.push_back("create " + Name(v));
        return refuse.count(v) == 0;
    }
    void ShowMenuView(MenuView v, MenuView hidden) override {
        calls.push_back("show " + Name(v) + " hide " + Name(hidden));
    }
    void InvestigationChanged(int menu) override {
        calls.push_back("investigation " + std::to_string(menu));
    }
    void EnvironmentPanelChanged(bool shown) override {
        panelShown = shown;
        calls.push_back(shown ? "panel open" : "panel close");
    }
    bool OpenUnitPage(UnitKind unit, CUnitDocument& doc, const std::string& title,
                      bool authoring) override {
        calls.push_back("unit " + title);
        if (refuseUnitPage)
            return false;
        unitDocument = &doc;
        unitTitle = title;
        unitKind = unit;
        unitAuthoring = authoring;
        return true;
    }
    void CloseUnitPage() override {
        calls.push_back("close unit");
        unitDocument = nullptr;
    }
    bool OpenWithDesktop(const std::string& path) override {
        opened.push_back(path);
        return !desktopFails;
    }
    void CloseMainWindow() override { ++closeRequests; }

    bool Called(const std::string& call) const {
        for (const auto& c : calls)
            if (c == call)
                return true;
        return false;
    }
};

} // namespace quorvel::testing
