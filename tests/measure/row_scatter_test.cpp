#include "measure/row_scatter.h"

#include <gtest/gtest.h>

#include <vector>

// Every shape the four-by-four path leaves a remainder in (channels and rows
// not multiples of four, a stride longer than the rows), against the plain
// definition; a wrong value or a write outside the columns shows. Gathering
// the columns back gives the rows again.
TEST(ScatterRows, SpreadsEveryShapeIntoItsColumnsAndGathersItBack) {
    for (int channels : {1, 2, 3, 4, 5, 7, 8, 16, 17})
        for (int64_t count : {1, 3, 4, 5, 8, 513}) {
            const int64_t stride = count + 6;
            std::vector<float> rows(size_t(count * channels));
            for (size_t i = 0; i < rows.size(); ++i)
                rows[i] = float(i) + 0.5f;
            std::vector<float> columns(size_t(stride * channels), -1.0f);
            scatterRows(rows.data(), count, channels, columns.data(), stride);
            for (int c = 0; c < channels; ++c)
                for (int64_t r = 0; r < stride; ++r) {
                    const float expected = r < count ? rows[size_t(r * channels + c)] : -1.0f;
                    ASSERT_EQ(columns[size_t(c * stride + r)], expected)
                        << channels << " channels, " << count << " rows: channel " << c << " row "
                        << r;
                }
        }
}
