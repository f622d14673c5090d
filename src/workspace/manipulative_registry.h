// From type code to factory: each unit registers its manipulative classes, and documents
// and groups read manipulatives by the code written in front of them.
#pragma once

#include "workspace/manipulative.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quorvel {

class CArchive;

class CManipulativeRegistry {
public:
    using Factory = std::function<std::unique_ptr<CManipulative>()>;

    // The registry of the whole program; the workspace's own classes are registered on first use.
    static CManipulativeRegistry& Instance();

    void Register(std::int32_t type, Factory factory);
    bool IsRegistered(std::int32_t type) const { return m_factories.count(type) != 0; }
    // A fresh manipulative of the class the code names; null for an unknown code.
    std::unique_ptr<CManipulative> Create(std::int32_t type) const;
    // The class name a type code stands for ("CShapeManipulative"), as dumps show it.
    static std::string ClassName(std::int32_t type);

private:
    std::map<std::int32_t, Factory> m_factories;
};

// Smallest stored manipulative: the base form with no lines (count, two points, six int32).
inline constexpr std::size_t kMinManipulativeBytes = 4 + 27 + 27 + 6 * 4;

// What reading does with a type code the list does not hold.
enum class UnknownType {
    Fails,       // a CArchiveException with the offset and the field "type"
    EndsTheList, // the file's layout ends the list there: ReadManipulative returns null
};

// How a list stores each manipulative: its int32 type code, in some layouts a TAB, then its
// own form. In a dump each is an object with its "type" and "class".
struct CManipulativeForm {
    // The codes the list holds; empty for every registered one.
    std::span<const std::int32_t> types;
    bool tabAfterType = false;
    // A field tree has no layout to end, so there an unknown code always fails.
    UnknownType unknown = UnknownType::Fails;
};

void WriteManipulative(CArchive& ar, const CManipulative& m, const CManipulativeForm& form = {});
// The manipulative the code names, read; null only when `form` lets an unknown code end the
// list.
std::unique_ptr<CManipulative> ReadManipulative(CArchive& ar, const CManipulativeForm& form = {});

// A count, then each manipulative in the default form. In a dump the list is the array
// `arrayName`.
void WriteManipulatives(CArchive& ar, const std::vector<std::unique_ptr<CManipulative>>& list,
                        const char* arrayName = "manipulatives");
// Reads what WriteManipulatives wrote, appending to `out`.
void ReadManipulatives(CArchive& ar, std::vector<std::unique_ptr<CManipulative>>& out,
                       const char* arrayName = "manipulatives");

} // namespace quorvel
