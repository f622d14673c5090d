// The numeric exceptions and their fixed messages.
#include "numbers/number_exceptions.h"

namespace quorvel {

CNumberException::CNumberException(std::string message)
    : m_message(std::make_shared<const std::string>(std::move(message))) {}

CIntegerOverflowException::CIntegerOverflowException() : CNumberException("Integer Overflow") {}

CFloatingPointOverflowException::CFloatingPointOverflowException()
    : CNumberException("Floating Point Overflow") {}

CDivisionByZeroException::CDivisionByZeroException() : CNumberException("Division by Zero") {}

CIllegalArgumentException::CIllegalArgumentException() : CNumberException("Illegal Argument") {}

CIllegalNumberFormatException::CIllegalNumberFormatException()
    : CNumberException("Illegal Number Format") {}

} // namespace quorvel
