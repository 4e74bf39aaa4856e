// What a soil analysis costs: the two-layer fit of a long sounding, a short one,
// near-uniform ground, one apparent resistivity, and the three-layer fit of a
// Schlumberger survey. Printed, never asserted. The
// machine may be busy with other work, so every figure is the median over rounds.
#include "soil/layeredearth.h"
#include "soil/soilfit.h"
#include "soil/threelayerfit.h"
#include "soil/wenner.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kRounds = 21;

// Readings at `count` log-spaced spacings from 0.5 to 64 m with 5 % noise.
std::vector<bm::soil::SoilPoint> sounding(int count, double rho1, double rho2, double h)
{
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::vector<bm::soil::SoilPoint> points;
    for (int i = 0; i < count; ++i) {
        const double a = 0.5 * std::pow(128.0, double(i) / (count - 1));
        points.push_back({a, bm::soil::wennerApparent(a, rho1, rho2, h) * (1.0 + noise(rng)), true});
    }
    return points;
}

// Schlumberger readings at `count` AB/2 from 1 to 100 m, MN/2 0.3 m, over
// 100 / 10 / 1000 ohm-m with h1 6 m and h2 4 m, with 3 % noise.
std::vector<bm::soil::SoilPoint> survey(int count)
{
    std::mt19937 rng(11);
    std::normal_distribution<double> noise(0.0, 0.03);
    const bm::soil::Layers layers{3, {100.0, 10.0, 1000.0}, {6.0, 4.0}};
    std::vector<bm::soil::SoilPoint> points;
    for (int i = 0; i < count; ++i) {
        bm::soil::SoilPoint p{std::pow(100.0, double(i) / (count - 1)), 0.0, true, bm::soil::Array::Schlumberger, 0.3};
        p.rho_ohm_m = bm::soil::apparentOver(p, layers) * (1.0 + noise(rng));
        points.push_back(p);
    }
    return points;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median milliseconds of one analysis; round 0 warms caches and is not counted.
double
timeAnalysis(const std::vector<bm::soil::SoilPoint>& points,
             bm::soil::SoilAnalysis (*analyse)(const std::vector<bm::soil::SoilPoint>&) = bm::soil::analyseTwoLayer)
{
    std::vector<double> runs;
    QElapsedTimer t;
    for (int round = 0; round <= kRounds; ++round) {
        t.start();
        const bm::soil::SoilAnalysis r = analyse(points);
        if (round > 0)
            runs.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!r.twoLayer)
            std::printf("(no two-layer fit: %s)\n", qPrintable(r.message));
    }
    return median(runs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    const double fit50 = timeAnalysis(sounding(50, 300.0, 60.0, 3.0));
    const double fit50up = timeAnalysis(sounding(50, 50.0, 900.0, 1.5));
    const double fit8 = timeAnalysis(sounding(8, 300.0, 60.0, 3.0));
    const double flat50 = timeAnalysis(sounding(50, 100.0, 100.0, 3.0));

    const std::vector<bm::soil::SoilPoint> points30 = survey(30);
    const bm::soil::SoilAnalysis two30 = bm::soil::analyseTwoLayer(points30);
    std::vector<double> three30;
    for (int round = 0; round <= kRounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        const bm::soil::ThreeLayerFit fit = bm::soil::fitThreeLayer(points30, two30.twoLayer);
        if (round > 0)
            three30.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (!fit.model)
            std::printf("(no three-layer fit: %s)\n", qPrintable(fit.message));
    }
    const double whole30 = timeAnalysis(points30, bm::soil::analyse);

    std::vector<double> model;
    QElapsedTimer t;
    double sink = 0.0;
    for (int round = 0; round < kRounds; ++round) {
        t.start();
        for (int i = 0; i < 1000; ++i)
            sink += bm::soil::wennerApparent(0.5 + i * 0.064, 50.0, 900.0, 1.5);
        model.push_back(double(t.nsecsElapsed()) / 1000.0 / 1000.0);
    }

    std::printf("Soil analysis, median of %d rounds (5 %% noise, spacings 0.5 to 64 m)\n\n", kRounds);
    std::printf("| %-52s | %11s |\n", "measurement", "cost");
    std::printf("|------------------------------------------------------|-------------|\n");
    std::printf("| %-52s | %8.2f ms |\n", "two-layer fit, 50 points (K = -0.67, h = 3 m)", fit50);
    std::printf("| %-52s | %8.2f ms |\n", "two-layer fit, 50 points (K = +0.89, h = 1.5 m)", fit50up);
    std::printf("| %-52s | %8.2f ms |\n", "two-layer fit, 8 points (K = -0.67, h = 3 m)", fit8);
    std::printf("| %-52s | %8.2f ms |\n", "two-layer fit, 50 points of uniform ground", flat50);
    std::printf("| %-52s | %8.2f us |\n", "one apparent resistivity (K = +0.89)", median(model));
    std::printf("| %-52s | %8.2f ms |\n", "three-layer fit, 30 Schlumberger points (3 % noise)", median(three30));
    std::printf("| %-52s | %8.2f ms |\n", "whole survey analysis of the same 30 points", whole30);
    std::printf("\nFor scale: the aims are a 50-point two-layer fit under 5 ms and a 30-point three-layer\n"
                "fit under 200 ms. (%g)\n",
                sink);
    return 0;
}
