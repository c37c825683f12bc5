#include "ui/Interpolazione.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && defined(__GNUC__)
#include <immintrin.h>
#define PLACCHE_AVX2 1
#endif

namespace ui {

namespace {
// Where a pixel of the result falls among the picture's: between `index` and the next one, `weight`
// 256ths of the way (0-255). `pair` holds the two pixels' weights for each of their channels, ready for
// the vector instructions.
struct Step {
    int index;
    int weight;
    alignas(16) int16_t pair[8];
};

std::vector<Step> steps(int from, int to)
{
    std::vector<Step> list(static_cast<std::size_t>(to));
    for (int d = 0; d < to; ++d) {
        const double f = std::max(0.0, (d + 0.5) * from / to - 0.5);
        int i = int(f);
        int w = int(std::lround((f - i) * 256));
        if (w == 256) {
            ++i;
            w = 0;
        }
        if (i >= from - 1) {
            i = from - 1;
            w = 0;
        }
        Step& step = list[std::size_t(d)];
        step.index = i;
        step.weight = w;
        for (int c = 0; c < 4; ++c) {
            step.pair[c] = int16_t(256 - w);
            step.pair[4 + c] = int16_t(w);
        }
    }
    return list;
}

// Eight pixels of the result whose neighbours all lie among eight pixels of the picture from `first` on
// (a picture enlarged by more than 8/7): one load and a shuffle bring each pixel's two neighbours, where
// otherwise each pair is a load of its own. The pixels are shuffled in the order 0 1 4 5 2 3 6 7, which
// widening to 16 bits per channel, half a register at a time, puts back in order.
struct Eight {
    int first;
    alignas(32) int32_t left[8];  // each pixel's left neighbour, counted from `first`
    alignas(32) int16_t right[32];  // each channel's weight of the right neighbour, pixels 0-3 then 4-7
};

std::vector<Eight> eights(const std::vector<Step>& xs, int width)
{
    static constexpr int kOrder[8] = {0, 1, 4, 5, 2, 3, 6, 7};
    std::vector<Eight> list;
    for (std::size_t x = 0; x + 8 <= xs.size(); x += 8) {
        const int first = xs[x].index;
        if (first + 8 > width || xs[x + 7].index + 1 - first > 7)
            break;
        Eight e{};
        e.first = first;
        for (int j = 0; j < 8; ++j) {
            e.left[j] = xs[x + std::size_t(kOrder[j])].index - first;
            for (int c = 0; c < 4; ++c)
                e.right[4 * j + c] = int16_t(xs[x + std::size_t(j)].weight);
        }
        list.push_back(e);
    }
    return list;
}

#if defined(PLACCHE_AVX2)
// The pixels of the result that `eights` covers, then four at a time as long as all have two neighbours to
// load; how many were done.
__attribute__((target("avx2"))) int acrossAvx2(const uchar* row, int width, const Step* xs, int n,
                                               const std::vector<Eight>& groups, uint16_t* out)
{
    const __m256i zero = _mm256_setzero_si256(), whole = _mm256_set1_epi16(256), one = _mm256_set1_epi32(1);
    int x = 0;
    for (const Eight& e : groups) {
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 4 * e.first));
        const __m256i at = _mm256_load_si256(reinterpret_cast<const __m256i*>(e.left));
        const __m256i left = _mm256_permutevar8x32_epi32(pixels, at);
        const __m256i right = _mm256_permutevar8x32_epi32(pixels, _mm256_add_epi32(at, one));
        const __m256i w03 = _mm256_load_si256(reinterpret_cast<const __m256i*>(e.right));
        const __m256i w47 = _mm256_load_si256(reinterpret_cast<const __m256i*>(e.right + 16));
        const __m256i p03 = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(left, zero), _mm256_sub_epi16(whole, w03)),
                                             _mm256_mullo_epi16(_mm256_unpacklo_epi8(right, zero), w03));
        const __m256i p47 = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(left, zero), _mm256_sub_epi16(whole, w47)),
                                             _mm256_mullo_epi16(_mm256_unpackhi_epi8(right, zero), w47));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x), p03);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x + 16), p47);
        x += 8;
    }
    for (; x + 3 < n && xs[x + 3].index + 1 < width; x += 4) {
        const Step* s = xs + x;
        const __m128i ab = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + 4 * s[0].index)),
                                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + 4 * s[1].index)));
        const __m128i cd = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + 4 * s[2].index)),
                                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + 4 * s[3].index)));
        const __m256i pairs = _mm256_set_m128i(cd, ab);  // the two neighbours of a and b, then of c and d
        const __m256i wac = _mm256_set_m128i(_mm_load_si128(reinterpret_cast<const __m128i*>(s[2].pair)),
                                             _mm_load_si128(reinterpret_cast<const __m128i*>(s[0].pair)));
        const __m256i wbd = _mm256_set_m128i(_mm_load_si128(reinterpret_cast<const __m128i*>(s[3].pair)),
                                             _mm_load_si128(reinterpret_cast<const __m128i*>(s[1].pair)));
        const __m256i mac = _mm256_mullo_epi16(_mm256_unpacklo_epi8(pairs, zero), wac);
        const __m256i mbd = _mm256_mullo_epi16(_mm256_unpackhi_epi8(pairs, zero), wbd);
        const __m256i sum = _mm256_add_epi16(_mm256_unpacklo_epi64(mac, mbd), _mm256_unpackhi_epi64(mac, mbd));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x), sum);
    }
    return x;
}

// Thirty-two channels at a time; how many were done.
__attribute__((target("avx2"))) int downAvx2(const uint16_t* upper, const uint16_t* lower, unsigned a, unsigned b,
                                             int channels, uchar* out)
{
    const __m256i wa = _mm256_set1_epi16(short(a)), wb = _mm256_set1_epi16(short(b)), half = _mm256_set1_epi16(128);
    int k = 0;
    for (; k + 32 <= channels; k += 32) {
        const __m256i u0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + k));
        const __m256i l0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + k));
        const __m256i u1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + k + 16));
        const __m256i l1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + k + 16));
        const __m256i b0 = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_add_epi16(_mm256_mulhi_epu16(u0, wa), _mm256_mulhi_epu16(l0, wb)), half), 8);
        const __m256i b1 = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_add_epi16(_mm256_mulhi_epu16(u1, wa), _mm256_mulhi_epu16(l1, wb)), half), 8);
        // Packing works within each half of the register: the quarters come back into order.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), _mm256_permute4x64_epi64(_mm256_packus_epi16(b0, b1), 0xD8));
    }
    return k;
}
#endif

// A row of the picture interpolated across: each channel times 256 (at most 255 * 256, in 16 bits).
void across(const uchar* row, int width, const std::vector<Step>& xs, const std::vector<Eight>& groups, uint16_t* out,
            Instructions with)
{
    const int n = int(xs.size());
    int x = 0;
#if defined(PLACCHE_AVX2)
    if (with == Instructions::Avx2)
        x = acrossAvx2(row, width, xs.data(), n, groups, out);
#else
    Q_UNUSED(groups);
#endif
#if defined(__SSE2__)
    if (with != Instructions::Plain) {
        const __m128i zero = _mm_setzero_si128();
        auto pairAt = [&](const Step& s) {
            return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + 4 * s.index));
        };
        auto weights = [](const Step& s) { return _mm_load_si128(reinterpret_cast<const __m128i*>(s.pair)); };
        // Two pixels of the result at a time, as long as both have two neighbours to load.
        for (; x + 1 < n && xs[std::size_t(x + 1)].index + 1 < width; x += 2) {
            const Step& s = xs[std::size_t(x)];
            const Step& t = xs[std::size_t(x + 1)];
            const __m128i both = _mm_unpacklo_epi64(pairAt(s), pairAt(t));
            const __m128i ms = _mm_mullo_epi16(_mm_unpacklo_epi8(both, zero), weights(s));
            const __m128i mt = _mm_mullo_epi16(_mm_unpackhi_epi8(both, zero), weights(t));
            const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(ms, mt), _mm_unpackhi_epi64(ms, mt));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), sum);
        }
        for (; x < n; ++x) {
            const Step& s = xs[std::size_t(x)];
            // Two neighbours in one load, unless the first is the row's last pixel (its weight is then 0).
            const __m128i pair = s.index + 1 < width ? pairAt(s)
                                                     : _mm_cvtsi32_si128(int(qFromUnaligned<quint32>(row + 4 * s.index)));
            __m128i m = _mm_mullo_epi16(_mm_unpacklo_epi8(pair, zero), weights(s));
            m = _mm_add_epi16(m, _mm_srli_si128(m, 8));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * x), m);
        }
    }
#endif
    for (; x < n; ++x) {
        const Step& s = xs[std::size_t(x)];
        const uchar* p = row + 4 * s.index;
        const uchar* q = s.index + 1 < width ? p + 4 : p;
        for (int c = 0; c < 4; ++c)
            out[4 * x + c] = uint16_t(p[c] * (256 - s.weight) + q[c] * s.weight);
    }
}

// Two interpolated rows blended down into a row of the result. The weights are scaled to 16 bits so that
// the products' high halves are the blend (the whole weight 65536 is taken as 65535: under half a level).
void down(const uint16_t* upper, const uint16_t* lower, int weight, int channels, uchar* out, Instructions with)
{
    const unsigned a = unsigned(std::min(65535, (256 - weight) << 8)), b = unsigned(weight << 8);
    int k = 0;
#if defined(PLACCHE_AVX2)
    if (with == Instructions::Avx2)
        k = downAvx2(upper, lower, a, b, channels, out);
#endif
#if defined(__SSE2__)
    if (with != Instructions::Plain) {
        const __m128i wa = _mm_set1_epi16(short(a)), wb = _mm_set1_epi16(short(b)), half = _mm_set1_epi16(128);
        auto blend = [&](int at) {
            const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + at));
            const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + at));
            const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mulhi_epu16(u, wa), _mm_mulhi_epu16(l, wb)), half);
            return _mm_srli_epi16(sum, 8);
        };
        for (; k + 16 <= channels; k += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(blend(k), blend(k + 8)));
    }
#endif
    for (; k < channels; ++k)
        out[k] = uchar((((upper[k] * a) >> 16) + ((lower[k] * b) >> 16) + 128) >> 8);
}

QImage interpolate(const QImage& source, QSize size, Instructions with)
{
    if (source.isNull() || size.isEmpty()
        || (source.format() != QImage::Format_RGB32 && source.format() != QImage::Format_ARGB32_Premultiplied))
        return {};
    QImage result(size, source.format());
    if (result.isNull())
        return {};
    const int width = source.width();
    const std::vector<Step> xs = steps(width, size.width());
    const std::vector<Step> ys = steps(source.height(), size.height());
    const std::vector<Eight> groups = with == Instructions::Avx2 ? eights(xs, width) : std::vector<Eight>();
    const int channels = 4 * size.width();
    // The two rows of the picture a row of the result lies between, interpolated across once each.
    std::vector<uint16_t> upper(static_cast<std::size_t>(channels)), lower(static_cast<std::size_t>(channels));
    int upperRow = -1, lowerRow = -1;
    for (int y = 0; y < size.height(); ++y) {
        const Step& s = ys[std::size_t(y)];
        const int next = std::min(s.index + 1, source.height() - 1);
        if (upperRow != s.index) {
            if (lowerRow == s.index) {
                std::swap(upper, lower);
                lowerRow = -1;
            } else {
                across(source.constScanLine(s.index), width, xs, groups, upper.data(), with);
            }
            upperRow = s.index;
        }
        if (lowerRow != next) {
            across(source.constScanLine(next), width, xs, groups, lower.data(), with);
            lowerRow = next;
        }
        down(upper.data(), lower.data(), s.weight, channels, result.scanLine(y), with);
    }
    result.setDotsPerMeterX(source.dotsPerMeterX());
    result.setDotsPerMeterY(source.dotsPerMeterY());
    return result;
}

bool available(Instructions instructions)
{
    switch (instructions) {
    case Instructions::Plain:
        return true;
    case Instructions::Sse2:
#if defined(__SSE2__)
        return true;
#else
        return false;
#endif
    case Instructions::Avx2:
#if defined(PLACCHE_AVX2)
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    }
    return false;
}

Instructions best()
{
    static const Instructions instructions = available(Instructions::Avx2)   ? Instructions::Avx2
                                             : available(Instructions::Sse2) ? Instructions::Sse2
                                                                             : Instructions::Plain;
    return instructions;
}
}  // namespace

QImage interpolated(const QImage& source, QSize size)
{
    return interpolate(source, size, best());
}


QImage interpolatedWith(const QImage& source, QSize size, Instructions instructions)
{
    return available(instructions) ? interpolate(source, size, instructions) : QImage();
}

}  // namespace ui
