// The numeric exceptions: every failure of number arithmetic, reading or conversion is one of
// the five subclasses of CNumberException, thrown by value and caught by reference. Their
// message is the text shown to the pupil.
#pragma once

#include <memory>
#include <string>

namespace quorvel {

class CNumberException {
public:
    explicit CNumberException(std::string message);
    virtual ~CNumberException() = default;

    // Copies share the text, so copying while an exception is in flight cannot fail.
    CNumberException(const CNumberException&) noexcept = default;
    CNumberException& operator=(const CNumberException&) noexcept = default;

    const std::string& message() const noexcept { return *m_message; }

private:
    std::shared_ptr<const std::string> m_message;
};

class CIntegerOverflowException : public CNumberException {
public:
    CIntegerOverflowException();
};

class CFloatingPointOverflowException : public CNumberException {
public:
    CFloatingPointOverflowException();
};

class CDivisionByZeroException : public CNumberException {
public:
    CDivisionByZeroException();
};

class CIllegalArgumentException : public CNumberException {
public:
    CIllegalArgumentException();
};

class CIllegalNumberFormatException : public CNumberException {
public:
    CIllegalNumberFormatException();
};

} // namespace quorvel
