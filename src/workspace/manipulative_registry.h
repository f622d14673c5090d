// From type code to factory: each unit registers its manipulative classes, and documents
// and groups read manipulatives by the code written in front of them.
#pragma once

#include "workspace/manipulative.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
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

private:
    std::map<std::int32_t, Factory> m_factories;
};

// Smallest stored manipulative: the base form with no lines (count, two points, six int32).
inline constexpr std::size_t kMinManipulativeBytes = 4 + 27 + 27 + 6 * 4;

// A count, then for each manipulative its int32 type code and its own form.
void WriteManipulatives(CArchive& ar, const std::vector<std::unique_ptr<CManipulative>>& list);
// Reads what WriteManipulatives wrote, appending to `out`; an unknown type code is a read error.
void ReadManipulatives(CArchive& ar, std::vector<std::unique_ptr<CManipulative>>& out);
void WriteManipulative(CArchive& ar, const CManipulative& m);
std::unique_ptr<CManipulative> ReadManipulative(CArchive& ar);

} // namespace quorvel
