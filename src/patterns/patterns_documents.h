// The three Patterns documents: Designs, Codes and Numbers.
#pragma once

#include "patterns/design_machine.h"
#include "workspace/unit_document.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

inline constexpr std::uint32_t kDesignsSignature = 19992001;
inline constexpr std::uint32_t kCodesSignature = 19992002;
inline constexpr std::uint32_t kNumbersSignature = 19992003;

// The Designs options, in the order the file holds them (each 1 = on).
struct CDesignOptions {
    std::int32_t recordRule = 1;
    std::int32_t mysteryTool = 1;
    std::int32_t computerChecked = 0;
    std::int32_t machineShown = 1;
    std::int32_t rotationPointControl = 1;
    std::int32_t stampColor = 0; // 1: Rainbow
    std::int32_t extraShapes = 0;
    friend bool operator==(const CDesignOptions&, const CDesignOptions&) = default;
};

class CDesignPatternsDocument : public CUnitDocument {
public:
    CDesignPatternsDocument();
    ~CDesignPatternsDocument() override;

    // The options, the current tool, the design machine, its design as a picture (type 5), the
    // workspace's writing, the problem block, the view rectangle and the notepad text, every
    // scalar followed by a TAB (docs/patterns-files.md).
    void Serialize(CArchive& ar) override;
    // The machine (unless hidden) under the writing, as the page shows it.
    void DrawContents(IDrawingSurface& dc) const override;

    const CDesignOptions& options() const { return m_options; }
    void SetOptions(const CDesignOptions& options);
    CDesignFunctionMachine& machine() { return *m_machine; }
    const CDesignFunctionMachine& machine() const { return *m_machine; }
    bool machineShown() const { return m_options.machineShown != 0; }
    // "&Hide Machine" and "&Show Machine".
    void ShowMachine(bool shown);
    // The machine changed: redraw it.
    void MachineChanged(bool modified = true);

    void SetPresentViewRect(const CRect& r) {
        if (!r.IsEmpty())
            m_viewRect = r;
    }
    const CRect& viewRect() const { return m_viewRect; }
    const std::string& notepadText() const { return m_notepadText; }

protected:
    void SerializeUndoState(CArchive& ar) override;
    void NewDocumentContents() override;

private:
    void SerializeOptions(CArchive& ar);
    void SerializeMachine(CArchive& ar);
    void SerializeWriting(CArchive& ar);

    CDesignOptions m_options;
    std::unique_ptr<CDesignFunctionMachine> m_machine;
    CRect m_viewRect{0, 0, 700, 560};
    std::string m_notepadText;
};

// The Designs tools: Arrow, Writing tool, Help and Mystery.
bool IsDesignsTool(int code);

// What qvtool info says of a Designs document: options, tool, the machine and its design.
std::vector<std::string> DescribeDesignsDocument(const CDesignPatternsDocument& doc);

class CNoteCardManipulative;

// The Codes options, in the order the file holds them (each 1 = on).
struct CCodesOptions {
    std::int32_t shiftOnly = 1; // 0: "All Machines"
    std::int32_t mysteryTool = 1;
    std::int32_t computerChecked = 0;
    std::int32_t messageBoard = 1;
    std::int32_t linking = 1;
    friend bool operator==(const CCodesOptions&, const CCodesOptions&) = default;
};

class CCodePatternsDocument : public CUnitDocument {
public:
    CCodePatternsDocument();

    // The options, the current tool, every manipulative's type code and then each one's data
    // with its references as indices, the view rectangle, the notepad text, the problem block,
    // the pane offset and the message board (docs/patterns-files.md). Reading refuses a file
    // whose references, tool, rectangle or board do not hold together.
    void Serialize(CArchive& ar) override;
    void DrawContents(IDrawingSurface& dc) const override;

    const CCodesOptions& options() const { return m_options; }
    void SetOptions(const CCodesOptions& options);

    void SetPresentViewRect(const CRect& r) {
        if (!r.IsEmpty())
            m_viewRect = r;
    }
    const CRect& viewRect() const { return m_viewRect; }
    CPoint paneOffset() const { return m_paneOffset; }
    void SetPaneOffset(CPoint p) { m_paneOffset = p; }

    // "Delete All Output cards": note cards at no hopper and not on the message board that a
    // machine made or that are read-only.
    bool HasOutputCardsToDelete() const;
    void DeleteOutputCards();

    // The message board: copies of the note cards machines took, hidden from the workspace,
    // the oldest first.
    std::vector<CNoteCardManipulative*> BoardCards() const;
    // A hidden copy of `card` goes on the board.
    CNoteCardManipulative* AddToBoard(const CNoteCardManipulative& card);
    // The most recent card leaves the board and shows again; null when the board is empty.
    CNoteCardManipulative* TakeFromBoard();

    std::optional<std::string> CheckReferences() const;
    const std::string& notepadText() const { return m_notepadText; }

protected:
    void SerializeUndoState(CArchive& ar) override;
    void NewDocumentContents() override;

private:
    void SerializeOptions(CArchive& ar);
    void SerializePatternList(CArchive& ar);
    void SerializeBoard(CArchive& ar);
    void ApplyOptions();

    CCodesOptions m_options;
    CRect m_viewRect{0, 0, 700, 560};
    CPoint m_paneOffset;
    std::string m_notepadText;
};

// The tools of the Numbers page: Arrow, Selector, Eraser, Writing tool, Help, Mystery, Linking.
bool IsNumbersTool(int code);

// The Codes tools: Arrow, Selector, Eraser, Writing tool, Help, Mystery and Linking.
bool IsCodesTool(int code);

// What qvtool info says of a Codes document: options, tool, machines, cards and the board.
std::vector<std::string> DescribeCodesDocument(const CCodePatternsDocument& doc);

// The Numbers options, in the order the file holds them (each 1 = on).
struct CNumbersOptions {
    std::int32_t mysteryTool = 1;
    std::int32_t computerChecked = 0;
    std::int32_t wiresShown = 1;
    std::int32_t autotrigger = 1;
    std::int32_t decimalOutput = 1; // 0: Fractional
    std::int32_t further = 1;
    friend bool operator==(const CNumbersOptions&, const CNumbersOptions&) = default;
};

// How many problem files each level has: patpsA01 .. patpsA06, patpsB01 .. patpsB06,
// patpsC01 .. patpsC12.
inline constexpr std::array<int, 3> kNumbersProblemsPerLevel{6, 6, 12};

class CNumberPatternsDocument : public CUnitDocument {
public:
    CNumberPatternsDocument();

    // The options, problem block, pane offsets, current tool, then every manipulative's type
    // code and afterwards each one's data with its references as indices, then the view
    // rectangle it was saved in and the notepad text. Reading checks every reference (right
    // kind, links join machines, no loop) and fails the whole open otherwise.
    void Serialize(CArchive& ar) override;

    // Its problem files: "patpsA", "patpsB" or "patpsC", two digits, ".qvn".
    void AppendProblemFileName(std::string& path, int level) override;
    // As the page draws them: each visible manipulative itself (a copy would lose its links),
    // the selected ones without their marks.
    void DrawContents(IDrawingSurface& dc) const override;

    const CNumbersOptions& options() const { return m_options; }
    void SetOptions(const CNumbersOptions& options);

    // The page's present view rectangle: a file saved in another spreads its loose
    // manipulatives to this one. Without a page a document adopts the rectangle of its file.
    void SetPresentViewRect(const CRect& r) {
        m_viewRect = r;
        m_presentView = !r.IsEmpty();
    }
    const CRect& viewRect() const { return m_viewRect; }
    // The pane's scroll offsets, kept with the file.
    CPoint paneOffset() const { return m_paneOffset; }
    void SetPaneOffset(CPoint p) { m_paneOffset = p; }

    // "Delete All Output cards": the number cards at no hopper that a machine made or that are
    // read-only.
    bool HasOutputCardsToDelete() const;
    void DeleteOutputCards();

    // Supermachines' references must stay whole: every link joins two machines that know it.
    // A message naming what is wrong, or nothing.
    std::optional<std::string> CheckReferences() const;

    // Asks the view to draw the whole workspace again (what tables change reaches far).
    void RedrawWorkspace() { InvalidateAll(); }

    // The notepad text read from the file (saved again when there is no program notepad).
    const std::string& notepadText() const { return m_notepadText; }

protected:
    void SerializeUndoState(CArchive& ar) override;
    void NewDocumentContents() override;

private:
    // The flags in the order the file holds them.
    void SerializeOptions(CArchive& ar);
    // The two-pass list: the type codes, then each one's data. False when reading ended at a
    // type code the document does not hold (the list is then empty).
    bool SerializePatternList(CArchive& ar);
    // What options change in the workspace: the links' wires are shown or hidden.
    void ApplyOptions();
    void RouteLinks();
    void AfterLoading(const CRect& savedView);
    // Loose manipulatives keep their centre's relative place; a supermachine moves whole with
    // its head, and cards at hoppers with their machine.
    void SpreadManipulatives(const CRect& from, const CRect& to);

    CNumbersOptions m_options;
    CRect m_viewRect{0, 0, 700, 560};
    bool m_presentView = false;
    CPoint m_paneOffset;
    std::string m_notepadText;
};

// The rules every reference of a Patterns list keeps (machines, links, cards, tables): a
// message naming what is wrong, or nothing.
std::optional<std::string> CheckPatternReferences(const CUnitDocument::ManipulativeList& list);

// What qvtool info says of a Numbers document beyond its manipulatives: the options, the
// current tool, the view it was saved in and its machines, links and cards.
std::vector<std::string> DescribeNumbersDocument(const CNumberPatternsDocument& doc);

} // namespace quorvel
