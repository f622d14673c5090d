// qvtool chain and run: what number machines give, for a teacher checking them before class.
#include "tools/qvtool/qvtool.h"

#include "tools/qvtool/qvtool_load.h"

#include "patterns/codes_runner.h"
#include "patterns/number_machine.h"
#include "patterns/numbers_runner.h"
#include "workspace/file_store.h"

#include <ostream>

namespace quorvel {
namespace {

// "x" stands for "×" and "?" for a machine with no operation chosen; "*" is taken too.
std::optional<int> OperationArgument(const std::string& op) {
    if (op == "?")
        return kNoOperation;
    if (op == "x" || op == "*")
        return 2;
    if (op == "+" || op == "-" || op == "/") {
        const int operation = OperationForText(op);
        if (operation != kNoOperation)
            return operation;
    }
    return std::nullopt;
}

} // namespace

int CQvTool::Chain(const std::vector<std::string>& args) {
    bool fractional = false;
    std::vector<std::string> words;
    for (const std::string& a : args) {
        if (a == "--fractional")
            fractional = true;
        else
            words.push_back(a);
    }
    if (words.empty() || words.size() % 3 != 0)
        return Usage();
    std::vector<CChainMachine> machines;
    for (std::size_t i = 0; i < words.size(); i += 3) {
        const std::optional<int> op = OperationArgument(words[i + 1]);
        const int fed = (words[i] == "_") + (words[i + 2] == "_");
        // The first machine reads two cards; every further one is fed by the one before.
        if (!op || fed != (i == 0 ? 0 : 1))
            return Usage();
        machines.push_back({words[i], *op, words[i + 2]});
    }
    const CRunOutcome outcome = RunChain(machines, fractional);
    if (!outcome.ok) {
        m_out << outcome.message << "\n";
        return 1;
    }
    m_out << outcome.face << " " << outcome.kind << "\n";
    return 0;
}

int CQvTool::Code(const std::vector<std::string>& args) {
    CCodeRun run;
    if (args.size() == 4 && args[0] == "shift")
        run = RunShift(args[1], args[2], args[3]);
    else if (args.size() == 3 && args[0] == "group")
        run = RunGroup(args[1], args[2]);
    else if (args.size() == 4 && args[0] == "keyword" &&
             (args[2] == "encode" || args[2] == "decode"))
        run = RunKeyword(args[1], args[2] == "decode", args[3]);
    else
        return Usage();
    m_out << run.text << "\n";
    return run.ok ? 0 : 1;
}

int CQvTool::RunMachines(const std::vector<std::string>& args) {
    std::string file;
    std::string save;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--save" && i + 1 < args.size())
            save = args[++i];
        else if (file.empty())
            file = args[i];
        else
            return Usage();
    }
    if (file.empty())
        return Usage();
    LoadedDocument loaded = LoadDocument(file);
    if (!loaded.doc) {
        m_err << file << ": " << loaded.error << "\n";
        return 1;
    }
    auto* numbers = dynamic_cast<CNumberPatternsDocument*>(loaded.doc.get());
    auto* codes = dynamic_cast<CCodePatternsDocument*>(loaded.doc.get());
    if (!numbers && !codes) {
        m_err << file << ": not a Patterns - Numbers or Codes document\n";
        return 1;
    }
    for (const std::string& line :
         numbers ? RunSupermachines(*numbers) : RunCodeSupermachines(*codes))
        m_out << line << "\n";
    if (!save.empty() && !SaveFileAtomically(save, loaded.doc->SaveToBytes())) {
        m_err << save << ": Failed to save document.\n";
        return 1;
    }
    return 0;
}

} // namespace quorvel
