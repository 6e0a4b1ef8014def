#include "gep/chromosome.h"

#include <cstdio>
#include <stdexcept>

namespace GEP {

void Chromosome::setTerminals(std::vector<double> values) { settings_.terminals = std::move(values); }

void Chromosome::setLinkingFunction(std::string_view name) { settings_.linking = makeLinkingFunction(name); }
void Chromosome::setOneArgFunctions(std::string_view names) { settings_.oneArgs = makeOneArgFunctions(names); }
void Chromosome::setTwoArgFunctions(std::string_view names) { settings_.twoArgs = makeTwoArgFunctions(names); }

void Chromosome::releaseFunctions() {
    settings_.oneArgs.clear();
    settings_.twoArgs.clear();
    settings_.linking.reset();
}

void Chromosome::setHeadLength(uint16_t h) {
    const int maxArity = !settings_.twoArgs.empty() ? 2 : 1;
    settings_.head = h;
    settings_.tail = static_cast<uint16_t>(h * (maxArity - 1) + 1);
    settings_.length = static_cast<uint16_t>(settings_.head + settings_.tail);
}

std::string Chromosome::symbolName(Symbol s) {
    if (s >= 1) {
        const int i = s - 1;
        if (i < 25) return std::string(1, static_cast<char>('a' + i));
        return std::string(1, static_cast<char>('a' + i / 25)) + std::to_string(i % 25);
    }
    const size_t f = static_cast<size_t>(-s);
    const size_t f1 = settings_.oneArgs.size();
    if (f < f1) return std::string(settings_.oneArgs[f]->name());
    if (f - f1 < settings_.twoArgs.size()) return std::string(settings_.twoArgs[f - f1]->name());
    return "?";
}

Chromosome::Chromosome() {
    const size_t h = settings_.head;
    const size_t length = settings_.length;
    symbols_.assign(static_cast<size_t>(settings_.genes) * length, 1);
    for (size_t g = 0; g < settings_.genes; ++g)
        for (size_t p = 0; p < h; ++p) symbols_[g * length + p] = 0;
}

Chromosome::Chromosome(std::vector<Symbol> symbols) : symbols_(std::move(symbols)) {
    const size_t functions = settings_.oneArgs.size() + settings_.twoArgs.size();
    for (const Symbol s : symbols_) {
        const bool known = s >= 1 ? static_cast<size_t>(s) <= settings_.terminals.size()
                                  : static_cast<size_t>(-s) < functions;
        if (!known)
            throw std::invalid_argument("symbol " + std::to_string(s) +
                                        " names no terminal or function of the current lists");
    }
}

int Chromosome::orfEnd(size_t gene) const {
    const size_t length = settings_.length;
    const size_t start = gene * length;
    const size_t end = start + length;
    const auto lengthError = [] {
        std::fputs("Karva incompatible! Length Error 2! \n", stdout);
        return -1;
    };
    if (length == 0 || end > symbols_.size()) return lengthError();
    int open = arity(symbols_[start]);
    size_t next = start + 1;
    for (size_t p = start; open >= 1; ++p) {
        const int a = arity(symbols_[p]);
        if (a == 1) {
            if (next + 1 > end) return lengthError();
            open += -1 + arity(symbols_[next]);
            next += 1;
        } else if (a == 2) {
            if (next + 2 > end) return lengthError();
            open += -2 + arity(symbols_[next]) + arity(symbols_[next + 1]);
            next += 2;
        } else if (a > 2) {
            std::fputs("Karva incompatible! Error 1!\n", stdout);
            return -1;
        }
        if (next == end && open != 0) return lengthError();
    }
    return static_cast<int>(next - 1 - start);
}

double Chromosome::terminalValue(Symbol s) {
    const size_t i = static_cast<size_t>(s - 1);
    if (i >= settings_.terminals.size()) throw ArithmeticError("terminal outside the terminal list");
    return settings_.terminals[i];
}

double Chromosome::evaluateGene(size_t gene) const {
    const int e = orfEnd(gene);
    if (e < 0) throw ArithmeticError("gene does not close in Karva notation");
    const Symbol* s = symbols_.data() + gene * settings_.length;
    if (e == 0) return terminalValue(s[0]);

    // Reverse breadth-first: the children of the last function are always
    // the last symbols not yet consumed, so one backward pass evaluates the
    // tree without building it.
    thread_local std::vector<double> scratch;
    if (scratch.size() < static_cast<size_t>(e) + 1) scratch.resize(static_cast<size_t>(e) + 1);
    const auto valueAt = [&](int p) { return s[p] >= 1 ? terminalValue(s[p]) : scratch[p]; };
    const size_t f1 = settings_.oneArgs.size();
    int child = e;
    for (int q = e; q >= 0; --q) {
        if (s[q] >= 1) continue;
        const size_t f = static_cast<size_t>(-s[q]);
        if (f < f1) {
            scratch[q] = settings_.oneArgs[f]->evaluate(valueAt(child));
            child -= 1;
        } else {
            if (f - f1 >= settings_.twoArgs.size()) throw ArithmeticError("function outside the lists");
            const double right = valueAt(child);
            const double left = valueAt(child - 1);
            scratch[q] = settings_.twoArgs[f - f1]->evaluate(left, right);
            child -= 2;
        }
    }
    return scratch[0];
}

double Chromosome::value() {
    try {
        const size_t genes = settings_.genes;
        if (genes == 0) throw ArithmeticError("no genes");
        double v = evaluateGene(0);
        for (size_t g = 1; g < genes; ++g) {
            if (!settings_.linking) throw ArithmeticError("several genes and no linking function");
            const double next = evaluateGene(g);
            v = settings_.linking->evaluate(v, next);
        }
        return v;
    } catch (const ArithmeticError&) {
        valid_ = false;
        return 0.0;
    }
}

std::string Chromosome::geneText(size_t gene) const {
    const size_t start = gene * settings_.length;
    std::string text = " H: ";
    for (size_t p = 0; p < settings_.length; ++p) {
        if (p == settings_.head) text += " T: ";
        text += symbolName(symbols_[start + p]);
        text += '.';
    }
    text += '.';
    return text;
}

std::string Chromosome::toString() const {
    if (symbols_.empty()) return " Chromosome Empty! ";
    const size_t genes = settings_.length == 0
                             ? 0
                             : std::min<size_t>(settings_.genes, symbols_.size() / settings_.length);
    std::string text = "> " + std::to_string(settings_.genes) + " Genes linked by: ";
    if (settings_.linking) text += settings_.linking->name();
    text += '\n';
    for (size_t g = 0; g < genes; ++g) {
        text += std::to_string(g) + ") " + geneText(g);
        if (g + 1 < genes) text += '\n';
    }
    return text;
}

}  // namespace GEP
