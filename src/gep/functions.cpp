#include "gep/functions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace GEP {

int truncToInt32(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(x);
}

double oneArg::evaluate(const double&) const { return 0.0; }
std::string_view oneArg::name() const { return "generic one arg"; }
double twoArg::evaluate(const double&, const double&) const { return 0.0; }
std::string_view twoArg::name() const { return "generic two arg"; }

double tfdiv::evaluate(const double& a, const double& b) const {
    if (b == 0.0) throw ArithmeticError("division by zero");
    return a / b;
}

double tfsqrt::evaluate(const double& a) const {
    if (a < 0.0) throw ArithmeticError("square root of a negative number");
    return std::sqrt(a);
}

double tfsin::evaluate(const double& a) const { return std::sin(a); }
double tfcos::evaluate(const double& a) const { return std::cos(a); }

double tftan::evaluate(const double& a) const {
    if (std::cos(a) == 0.0) throw ArithmeticError("tangent at a pole");
    return std::tan(a);
}

double tfexp::evaluate(const double& a) const { return std::exp(a); }

double tfln::evaluate(const double& a) const {
    if (a <= 0.0) throw ArithmeticError("logarithm of a number not above zero");
    return std::log(a);
}

namespace {

template <class Visit>
void forEachWord(std::string_view text, Visit visit) {
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        const size_t end = std::min(text.find(' ', i), text.size());
        visit(text.substr(i, end - i));
        i = end;
    }
}

std::unique_ptr<oneArg> makeOneArg(std::string_view name) {
    if (name == "~") return std::make_unique<tfnot>();
    if (name == "sqrt") return std::make_unique<tfsqrt>();
    if (name == "sin") return std::make_unique<tfsin>();
    if (name == "cos") return std::make_unique<tfcos>();
    if (name == "tan") return std::make_unique<tftan>();
    if (name == "exp") return std::make_unique<tfexp>();
    if (name == "ln") return std::make_unique<tfln>();
    return nullptr;
}

}  // namespace

std::unique_ptr<twoArg> makeLinkingFunction(std::string_view name) {
    if (name == "&") return std::make_unique<tfand>();
    if (name == "|") return std::make_unique<tfor>();
    if (name == "+") return std::make_unique<tfplus>();
    if (name == "-") return std::make_unique<tfminus>();
    if (name == "*") return std::make_unique<tfmul>();
    if (name == "/") return std::make_unique<tfdiv>();
    return nullptr;
}

OneArgList makeOneArgFunctions(std::string_view names) {
    OneArgList list;
    forEachWord(names, [&](std::string_view word) {
        if (auto f = makeOneArg(word)) list.push_back(std::move(f));
    });
    return list;
}

TwoArgList makeTwoArgFunctions(std::string_view names) {
    TwoArgList list;
    forEachWord(names, [&](std::string_view word) {
        // The two-argument names are exactly the linking function's names.
        if (auto f = makeLinkingFunction(word)) list.push_back(std::move(f));
    });
    return list;
}

}  // namespace GEP
