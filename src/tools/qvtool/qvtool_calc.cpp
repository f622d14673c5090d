// qvtool calc: reads numbers as a number card does and combines them as a number machine does,
// so that a teacher can check what a machine will produce.
#include "tools/qvtool/qvtool.h"

#include "numbers/number.h"

#include <ostream>

namespace quorvel {
namespace {

const char* KindName(NumberKind kind) {
    switch (kind) {
    case NumberKind::Integer:
        return "Integer";
    case NumberKind::Fraction:
        return "Fraction";
    case NumberKind::Decimal:
        break;
    }
    return "Decimal";
}

// "x" stands for "*", which a shell would expand unquoted.
bool IsOperator(const std::string& op) {
    return op == "+" || op == "-" || op == "*" || op == "x" || op == "/";
}

} // namespace

int CQvTool::Calc(const std::vector<std::string>& args) {
    if (args.size() != 1 && !(args.size() == 3 && IsOperator(args[1])))
        return Usage();
    try {
        CNumber result(args[0]);
        if (args.size() == 3) {
            const CNumber b(args[2]);
            switch (args[1][0]) {
            case '+':
                result = result + b;
                break;
            case '-':
                result = result - b;
                break;
            case '/':
                result = result / b;
                break;
            default:
                result = result * b;
                break;
            }
        }
        m_out << result.Format() << ' ' << KindName(result.kind()) << '\n';
        return 0;
    } catch (const CNumberException& e) {
        m_err << e.message() << '\n';
        return 1;
    }
}

} // namespace quorvel
