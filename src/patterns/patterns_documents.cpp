// Patterns document identities.
#include "patterns/patterns_documents.h"

#include "patterns/code_machines.h"
#include "patterns/number_machine.h"
#include "problemsets/problem_files.h"

#include <mutex>

namespace quorvel {

CDesignPatternsDocument::CDesignPatternsDocument()
    : CUnitDocument({kDesignsSignature, "Patterns", "Quorvel (*.qvd)|*.qvd||All Files (*.*)|*.*||",
                     "qvd",
                     "The file you are trying to open is not a Quorvel Design Patterns document!"}),
      m_machine(std::make_unique<CDesignFunctionMachine>()) {}

CDesignPatternsDocument::~CDesignPatternsDocument() = default;

CCodePatternsDocument::CCodePatternsDocument()
    : CUnitDocument({kCodesSignature, "Patterns Unit - Codes",
                     "Quorvel (*.qvc)|*.qvc||All Files (*.*)|*.*||", "qvc",
                     "The file you are trying to open is not a Quorvel Code Patterns document!"}) {
    static std::once_flag registered;
    std::call_once(registered, RegisterCodesManipulatives);
}

CNumberPatternsDocument::CNumberPatternsDocument()
    : CUnitDocument(
          {kNumbersSignature, "Patterns Unit - Numbers",
           "Quorvel (*.qvn)|*.qvn||All Files (*.*)|*.*||", "qvn",
           "The file you are trying to open is not a Quorvel Number Patterns document!"}) {
    static std::once_flag registered;
    std::call_once(registered, RegisterNumbersManipulatives);
}

void CNumberPatternsDocument::AppendProblemFileName(std::string& path, int level) {
    // A pool left from another level could hold numbers this level has no file for.
    if (level >= kLevelA && level <= kLevelC) {
        const int count = kNumbersProblemsPerLevel[static_cast<std::size_t>(level)];
        if (level != problemRun().level() || count != problemCount())
            problemRun().ClearPool();
        SetProblemCount(count);
    }
    quorvel::AppendProblemFileName(*this, path, kNumbersProblemFiles, level);
}

} // namespace quorvel
