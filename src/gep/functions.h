#pragma once
// The function set: small function objects a gene's head may hold, and the
// linking function that joins genes. A function's position in its list is
// its symbol number, so list order fixes the meaning of stored chromosomes.
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace GEP {

// Raised by a function whose operand is outside its domain; the chromosome
// evaluation catches it (value 0.0, chromosome marked invalid).
class ArithmeticError : public std::domain_error {
public:
    using std::domain_error::domain_error;
};

// Truncation toward zero to a 32-bit signed integer; values beyond the range
// saturate and NaN gives 0, so the logical functions never hit undefined
// behaviour.
int truncToInt32(double x);

class oneArg {
public:
    virtual ~oneArg() = default;
    virtual double evaluate(const double& a) const;
    virtual std::string_view name() const;
};

class twoArg {
public:
    virtual ~twoArg() = default;
    virtual double evaluate(const double& left, const double& right) const;
    virtual std::string_view name() const;
};

class tfplus final : public twoArg {
public:
    double evaluate(const double& a, const double& b) const override { return a + b; }
    std::string_view name() const override { return "+"; }
};

class tfminus final : public twoArg {
public:
    double evaluate(const double& a, const double& b) const override { return a - b; }
    std::string_view name() const override { return "-"; }
};

class tfmul final : public twoArg {
public:
    double evaluate(const double& a, const double& b) const override { return a * b; }
    std::string_view name() const override { return "*"; }
};

class tfdiv final : public twoArg {
public:
    double evaluate(const double& a, const double& b) const override;
    std::string_view name() const override { return "/"; }
};

// Bitwise on the truncated integers, not boolean on doubles: 2 & 1 is 0.
class tfand final : public twoArg {
public:
    double evaluate(const double& a, const double& b) const override {
        return truncToInt32(a) & truncToInt32(b);
    }
    std::string_view name() const override { return "&"; }
};

class tfor final : public twoArg {
public:
    double evaluate(const double& a, const double& b) const override {
        return truncToInt32(a) | truncToInt32(b);
    }
    std::string_view name() const override { return "|"; }
};

class tfnot final : public oneArg {
public:
    double evaluate(const double& a) const override { return truncToInt32(a) == 0 ? 1.0 : 0.0; }
    std::string_view name() const override { return "~"; }
};

class tfsqrt final : public oneArg {
public:
    double evaluate(const double& a) const override;
    std::string_view name() const override { return "sqrt"; }
};

class tfsin final : public oneArg {
public:
    double evaluate(const double& a) const override;
    std::string_view name() const override { return "sin"; }
};

class tfcos final : public oneArg {
public:
    double evaluate(const double& a) const override;
    std::string_view name() const override { return "cos"; }
};

// Rejects an exact pole (cosine exactly 0.0), the way tfdiv rejects a zero
// divisor.
class tftan final : public oneArg {
public:
    double evaluate(const double& a) const override;
    std::string_view name() const override { return "tan"; }
};

class tfexp final : public oneArg {
public:
    double evaluate(const double& a) const override;
    std::string_view name() const override { return "exp"; }
};

class tfln final : public oneArg {
public:
    double evaluate(const double& a) const override;
    std::string_view name() const override { return "ln"; }
};

using OneArgList = std::vector<std::unique_ptr<oneArg>>;
using TwoArgList = std::vector<std::unique_ptr<twoArg>>;

// "&", "|", "+", "-", "*" or "/"; any other text gives no function.
std::unique_ptr<twoArg> makeLinkingFunction(std::string_view name);

// Words separated by runs of blanks, in order; unknown words are skipped and
// a repeated word adds a second entry.
OneArgList makeOneArgFunctions(std::string_view names);
TwoArgList makeTwoArgFunctions(std::string_view names);

}  // namespace GEP
