#pragma once
// Class-wide values of the function and classification individuals,
// process-wide like the chromosome settings.
namespace GEP {

struct IndividualSettings {
    double roundingThreshold = 0.5;  // classification: a value above it is the positive class
    double weightFP = 1.0;           // classification: weight of false positives
    double weightFN = 1.0;           // classification: weight of false negatives
    double precision = 0.01;         // function: errors below it count as exact
    double selectionRange = 10.0;    // function: score of an exact case
};

inline IndividualSettings& individualSettings() {
    static IndividualSettings settings;
    return settings;
}

}  // namespace GEP
