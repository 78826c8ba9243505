#pragma once
// The failure a progress bar property assignment reports to its caller. The numbers are the classic
// run-time error numbers that hosts of such controls test for.

#include <stdexcept>

class ProgressBarError : public std::runtime_error {
  public:
    enum Number {
        Overflow = 6,               // a difference or conversion does not fit its integer type
        InvalidPropertyValue = 380, // the value is outside what the property accepts
    };

    explicit ProgressBarError(Number number)
        : std::runtime_error(number == Overflow ? "Overflow" : "Invalid property value"), number_(number) {}

    Number number() const { return number_; }

  private:
    Number number_;
};
