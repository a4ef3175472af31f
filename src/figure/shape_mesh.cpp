// shape_mesh.cpp - building the indexed sphere and tube meshes, and the
// tessellation chosen for a shape's size on screen.
//
// Rings of slices + 1 vertices (the seam is doubled for its two texture
// coordinates) run from the -z end to the +z end. Each band between two rings
// is split into triangles along the same diagonal as the quads the quadrics
// emit, so lighting and texture are interpolated the same way.
#include "figure/shape_mesh.h"

#include <algorithm>
#include <cmath>

namespace shapemesh {

namespace {

constexpr double kPi = 3.14159265358979323846;

int clampInt(int v, int lo, int hi) { return std::max(lo, std::min(hi, v)); }

void put(Mesh& m, double x, double y, double z, double nx, double ny, double nz, double s, double t) {
    Vertex& v = m.vertex[m.vertexCount++];
    v = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z),
         static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz),
         static_cast<float>(s), static_cast<float>(t)};
    const float p[3] = {v.x, v.y, v.z};
    for (int k = 0; k < 3; k++) {
        m.lo[k] = m.vertexCount == 1 ? p[k] : std::min(m.lo[k], p[k]);
        m.hi[k] = m.vertexCount == 1 ? p[k] : std::max(m.hi[k], p[k]);
    }
}

void triangle(Mesh& m, int a, int b, int c) {
    m.index[m.indexCount++] = static_cast<std::uint16_t>(a);
    m.index[m.indexCount++] = static_cast<std::uint16_t>(b);
    m.index[m.indexCount++] = static_cast<std::uint16_t>(c);
}

// Bands between ring i (lower z) and ring i + 1, for the rings that start at
// vertex `first`. A band whose lower or upper ring is a single point gets one
// triangle per slice, not a quad.
void stitchBands(Mesh& m, int first, int slices, int rings, bool pointFirst, bool pointLast) {
    const int w = slices + 1;
    for (int i = 0; i + 1 < rings; i++) {
        for (int j = 0; j < slices; j++) {
            const int lo = first + i * w + j, hi = first + (i + 1) * w + j;
            const bool loPoint = pointFirst && i == 0;
            const bool hiPoint = pointLast && i + 2 == rings;
            if (!hiPoint) triangle(m, lo + 1, hi + 1, hi);
            if (!loPoint) triangle(m, lo, lo + 1, hi);
        }
    }
}

}  // namespace

void buildSphere(Mesh& m, double radius, int slices, int stacks) {
    m.vertexCount = m.indexCount = 0;
    m.hasPlanes = false;
    const float none[3] = {0, 0, 0}, unit[3] = {1, 1, 1};
    appendSphere(m, radius, slices, stacks, none, unit);
}

void appendSphere(Mesh& m, double radius, int slices, int stacks, const float offset[3],
                  const float scale[3]) {
    slices = clampInt(slices, 3, kMaxSlices);
    stacks = clampInt(stacks, 2, kMaxStacks);
    const int first = m.vertexCount;
    m.hasPlanes = false;
    // Ring i is at polar angle pi * (stacks - i) / stacks, so ring 0 is the -z pole.
    for (int i = 0; i <= stacks; i++) {
        const double rho = kPi * (stacks - i) / stacks;
        const double sr = i == 0 || i == stacks ? 0.0 : std::sin(rho);
        const double cr = i == 0 ? -1.0 : i == stacks ? 1.0 : std::cos(rho);
        for (int j = 0; j <= slices; j++) {
            const double theta = j == slices ? 0.0 : 2 * kPi * j / slices;
            const double nx = -std::sin(theta) * sr, ny = std::cos(theta) * sr, nz = cr;
            put(m, scale[0] * (radius * nx) + offset[0], scale[1] * (radius * ny) + offset[1],
                scale[2] * (radius * nz) + offset[2], nx / scale[0], ny / scale[1], nz / scale[2],
                static_cast<double>(j) / slices, static_cast<double>(i) / stacks);
        }
    }
    stitchBands(m, first, slices, stacks + 1, true, true);
}

void buildCylinder(Mesh& m, double base, double top, double height, int slices, int stacks) {
    slices = clampInt(slices, 3, kMaxSlices);
    stacks = clampInt(stacks, 1, kMaxStacks);
    m.vertexCount = m.indexCount = 0;
    m.hasPlanes = false;
    // The slope of the side tilts every normal by the same amount.
    const double slope = std::sqrt((base - top) * (base - top) + height * height);
    const double across = slope > 0 ? height / slope : 1, up = slope > 0 ? (base - top) / slope : 0;
    for (int i = 0; i <= stacks; i++) {
        const double f = static_cast<double>(i) / stacks;
        const double r = base + (top - base) * f;
        for (int j = 0; j <= slices; j++) {
            const double theta = j == slices ? 0.0 : 2 * kPi * j / slices;
            const double sx = std::sin(theta), cy = std::cos(theta);
            put(m, r * sx, r * cy, height * f, sx * across, cy * across, up,
                1 - static_cast<double>(j) / slices, f);
        }
    }
    const int w = slices + 1;
    for (int i = 0; i < stacks; i++)
        for (int j = 0; j < slices; j++) {
            const int lo = i * w + j, hi = lo + w;
            triangle(m, lo + 1, lo, hi + 1);
            triangle(m, lo, hi, hi + 1);
        }
}

// A band's quad (lo, lo + 1, hi + 1, hi) went in as (lo + 1, hi + 1, hi)
// then (lo, lo + 1, hi): the second's last two corners are the first's
// first and last.
void facesOf(const Mesh& m, Faces& out) {
    out.quadIndexCount = out.triangleIndexCount = 0;
    const std::uint16_t* t = m.index;
    int i = 0;
    for (; i + 6 <= m.indexCount; i += 3) {
        if (t[i + 4] != t[i] || t[i + 5] != t[i + 2]) {
            for (int k = 0; k < 3; k++) out.triangle[out.triangleIndexCount++] = t[i + k];
            continue;
        }
        const std::uint16_t corners[4] = {t[i + 3], t[i], t[i + 1], t[i + 2]};
        for (std::uint16_t c : corners) out.quad[out.quadIndexCount++] = c;
        i += 3;
    }
    for (; i < m.indexCount; i++) out.triangle[out.triangleIndexCount++] = t[i];
}

void computePlanes(Mesh& m) {
    for (int i = 0; i < m.indexCount; i += 3) {
        const Vertex& a = m.vertex[m.index[i]];
        const Vertex& b = m.vertex[m.index[i + 1]];
        const Vertex& c = m.vertex[m.index[i + 2]];
        const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        double n[3] = {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (double& e : n) e = length > 0 ? e / length : 0;
        float* plane = m.plane[i / 3];
        for (int k = 0; k < 3; k++) plane[k] = static_cast<float>(n[k]);
        plane[3] = static_cast<float>(n[0] * a.x + n[1] * a.y + n[2] * a.z);
    }
    m.hasPlanes = true;
}

Detail detailFor(int slices, int stacks, float acrossPx, float alongPx, float maxErrorPx) {
    // Round the axis, n slices miss the outline by r (1 - cos(pi / n)); along
    // it, k stacks step pi / k round a meridian, missing it by
    // r (1 - cos(pi / 2k)).
    int n = 3;
    while (n < slices && acrossPx * (1 - std::cos(kPi / n)) > maxErrorPx) n++;
    int k = stacks >= 2 ? 2 : 1;
    while (k < stacks && alongPx * (1 - std::cos(kPi / (2 * k))) > maxErrorPx) k++;
    return {std::min(n, slices), std::min(k, stacks)};
}

}  // namespace shapemesh
