// The two-peaked Torsethaugen spectrum from Hm0 and Tp alone (Torsethaugen &
// Haver 2004, the simplified model of DNV-RP-C205): a wind sea and a swell,
// each a JONSWAP-like peak of f^-4 tail, the split between them fitted to
// North Sea records. Its constants are dimensional: Hm0 in m, Tp in s.
#pragma once

// One of the two peaks: its significant height, peak period and gamma.
struct TorsethaugenPeak {
    double hm0 = 0;   // m
    double tp = 0;    // s
    double gamma = 1; // peak enhancement, 1 for the secondary peak
};

struct TorsethaugenPeaks {
    bool windDominated = true; // Tp at or below the fully developed sea's
    double fullyDeveloped = 0; // s: Tf = 6.6 Hm0^(1/3)
    TorsethaugenPeak primary;  // the peak at Tp
    TorsethaugenPeak secondary;
};

// The split of Hm0 between the peaks: primary.hm0^2 + secondary.hm0^2 = hm0^2.
TorsethaugenPeaks torsethaugenPeaks(double hm0, double tp);

// The density at f (Hz) of the two peaks, with the spectrum's own constant
// (the variance comes out near hm0^2 / 16, not exactly: the callers scale it).
double torsethaugenDensity(const TorsethaugenPeaks& peaks, double f);
