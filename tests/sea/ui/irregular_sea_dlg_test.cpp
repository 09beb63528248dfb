// The Irregular Sea dialog's wave types, order, two-part seas and layout:
// which fields each choice takes, that what is typed is what is read, that
// what does not apply is left alone, and that a sea shown again reads back
// the same.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>

#include "frame_test_support.h"
#include "sea/ui/irregular_sea_dlg.h"
#include "sea/ui/sea_dialog_templates.h"
#include "shell/dialog_templates.h"

namespace {

// Two minutes at 20 Hz: quick to synthesise on OK.
SeaParameters shortSea() {
    SeaParameters p;
    p.duration = 120;
    p.dt = 0.05;
    return p;
}

enum Wave { IRREGULAR, REGULAR, BICHROMATIC, FOCUSED, SOLITARY };

QStringList comboItems(const ScriptedDialog& d, int id) {
    auto* combo = qobject_cast<QComboBox*>(d.control(id));
    QStringList items;
    for (int i = 0; combo && i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

bool enabled(const ScriptedDialog& d, int id) {
    return d.control(id)->isEnabled();
}

} // namespace

class IrregularSeaDialogTest : public FrameTest {
  protected:
    // Shows the dialog on `start` with `step` playing the user; the dialog
    // as it ended (its parameters read on OK).
    std::unique_ptr<CIrregularSeaDlg> run(const SeaParameters& start,
                                          const dialogScript::DialogStep& step) {
        auto dialog = std::make_unique<CIrregularSeaDlg>(start);
        dialogScript::pushDialog(step);
        result = showDialog(*dialog, frame.get(), DIALOG_IRREGULAR_SEA);
        return dialog;
    }
    int result = 0;
};

TEST_F(IrregularSeaDialogTest, EachWaveTypeTakesItsOwnFields) {
    struct Seen {
        bool spectrum, seed, focus, solitary, height, second, order, ramp;
    };
    std::vector<Seen> seen;
    QStringList waves, spectra;
    run(shortSea(), [&](ScriptedDialog& d) {
        waves = comboItems(d, IDC_SEA_WAVE);
        spectra = comboItems(d, IDC_SEA_SPECTRUM);
        for (int wave = IRREGULAR; wave <= SOLITARY; ++wave) {
            d.selectItem(IDC_SEA_WAVE, wave);
            seen.push_back({enabled(d, IDC_SEA_HM0), enabled(d, IDC_SEA_SEED),
                            enabled(d, IDC_SEA_FOCUS_TIME), enabled(d, IDC_SEA_SOLITARY),
                            enabled(d, IDC_SEA_WAVE_HEIGHT), enabled(d, IDC_SEA_SECOND_PERIOD),
                            enabled(d, IDC_SEA_ORDER), enabled(d, IDC_SEA_RAMP)});
        }
        d.press(IDCANCEL);
    });
    EXPECT_EQ(waves, (QStringList{"Irregular sea", "Regular wave", "Bichromatic group",
                                  "Focused group", "Solitary wave"}));
    // One name for every shape, each at its shape's number.
    ASSERT_EQ(spectra.size(), int(SpectrumShape::Torsethaugen) + 1);
    EXPECT_EQ(spectra[int(SpectrumShape::OchiHubble)], "Ochi-Hubble");
    EXPECT_EQ(spectra[int(SpectrumShape::Composite)], "Composite (swell + wind sea)");
    EXPECT_EQ(spectra[int(SpectrumShape::Torsethaugen)], "Torsethaugen");
    ASSERT_EQ(seen.size(), 5u);
    const auto row = [](const Seen& s) {
        return std::vector<bool>{s.spectrum, s.seed,   s.focus, s.solitary,
                                 s.height,   s.second, s.order, s.ramp};
    };
    //                        spectrum seed   focus  solit. height second order  ramp
    EXPECT_EQ(row(seen[IRREGULAR]), (std::vector<bool>{1, 1, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(row(seen[REGULAR]), (std::vector<bool>{0, 0, 0, 0, 1, 0, 1, 1}));
    EXPECT_EQ(row(seen[BICHROMATIC]), (std::vector<bool>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(row(seen[FOCUSED]), (std::vector<bool>{1, 0, 1, 0, 0, 0, 1, 1}));
    EXPECT_EQ(row(seen[SOLITARY]), (std::vector<bool>{0, 0, 0, 1, 0, 0, 0, 0}));
}

// A regular wave and a bichromatic pair read what was typed; the spectrum's
// fields, off for them, are not read even when they hold no number, nor is
// a table asked for.
TEST_F(IrregularSeaDialogTest, RegularAndBichromaticWavesReadTheirHeightsAndPeriods) {
    auto regular = run(shortSea(), [](ScriptedDialog& d) {
        d.selectItem(IDC_SEA_SPECTRUM, int(SpectrumShape::Table));
        d.selectItem(IDC_SEA_WAVE, REGULAR);
        d.setText(IDC_SEA_HM0, "not read");
        d.setText(IDC_SEA_WAVE_HEIGHT, "0.05");
        d.setText(IDC_SEA_WAVE_PERIOD, "1.25");
        d.press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    const SeaParameters& r = regular->parameters;
    EXPECT_TRUE(r.regular);
    EXPECT_FALSE(r.bichromatic);
    EXPECT_FALSE(r.focused);
    EXPECT_EQ(r.regularHeight, 0.05);
    EXPECT_EQ(r.regularPeriod, 1.25);
    EXPECT_EQ(r.hm0, shortSea().hm0);

    auto pair = run(shortSea(), [](ScriptedDialog& d) {
        d.selectItem(IDC_SEA_WAVE, BICHROMATIC);
        d.setText(IDC_SEA_WAVE_HEIGHT, "0.04");
        d.setText(IDC_SEA_WAVE_PERIOD, "1.2");
        d.setText(IDC_SEA_SECOND_HEIGHT, "0.03");
        d.setText(IDC_SEA_SECOND_PERIOD, "1.4");
        d.press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    const SeaParameters& b = pair->parameters;
    EXPECT_TRUE(b.bichromatic);
    EXPECT_FALSE(b.regular);
    EXPECT_EQ(b.bichromaticHeight[0], 0.04);
    EXPECT_EQ(b.bichromaticPeriod[0], 1.2);
    EXPECT_EQ(b.bichromaticHeight[1], 0.03);
    EXPECT_EQ(b.bichromaticPeriod[1], 1.4);

    // Shown again, the pair's four numbers are in their fields.
    QStringList shown;
    run(b, [&](ScriptedDialog& d) {
        shown << comboItems(
            d, IDC_SEA_WAVE)[qobject_cast<QComboBox*>(d.control(IDC_SEA_WAVE))->currentIndex()];
        for (int id : {IDC_SEA_WAVE_HEIGHT, IDC_SEA_WAVE_PERIOD, IDC_SEA_SECOND_HEIGHT,
                       IDC_SEA_SECOND_PERIOD})
            shown << d.text(id);
        d.press(IDCANCEL);
    });
    EXPECT_EQ(shown, (QStringList{"Bichromatic group", "0.04", "1.2", "0.03", "1.4"}));
}

TEST_F(IrregularSeaDialogTest, AMissingHeightKeepsTheDialogOpenWithAHint) {
    QStringList hints;
    run(shortSea(), [&](ScriptedDialog& d) {
        d.selectItem(IDC_SEA_WAVE, SOLITARY);
        d.press(IDOK);
        hints << d.hint();
        d.selectItem(IDC_SEA_WAVE, BICHROMATIC);
        d.setText(IDC_SEA_WAVE_HEIGHT, "0.04");
        d.setText(IDC_SEA_WAVE_PERIOD, "1.2");
        d.press(IDOK);
        hints << d.hint();
        d.selectItem(IDC_SEA_WAVE, REGULAR);
        d.setText(IDC_SEA_WAVE_HEIGHT, "0");
        d.press(IDOK);
        hints << d.hint();
        d.press(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(hints, (QStringList{"Enter the solitary wave's height.", "Enter a number.",
                                  "The regular wave's height must be above 0 m."}));
}

// The second order's boxes and band only with the second order; the limit
// only with subharmonics; a solitary wave is first order whatever was set.
TEST_F(IrregularSeaDialogTest, SecondOrderChoicesAreReadOnlyWhereTheyApply) {
    std::vector<bool> firstOrder, secondOrder, noSubharmonics;
    auto second = run(shortSea(), [&](ScriptedDialog& d) {
        const auto states = [&] {
            std::vector<bool> on;
            for (int id : {IDC_SEA_SUBHARMONICS, IDC_SEA_SUPERHARMONICS, IDC_SEA_LIMIT_SUBHARMONICS,
                           IDC_SEA_PAIR_FMIN, IDC_SEA_PAIR_FMAX})
                on.push_back(enabled(d, id));
            return on;
        };
        firstOrder = states();
        d.selectItem(IDC_SEA_ORDER, 1);
        secondOrder = states();
        d.setChecked(IDC_SEA_SUBHARMONICS, false);
        noSubharmonics = states();
        d.setChecked(IDC_SEA_SUBHARMONICS, true);
        d.setChecked(IDC_SEA_LIMIT_SUBHARMONICS, true);
        d.setChecked(IDC_SEA_SUPERHARMONICS, false);
        d.setText(IDC_SEA_PAIR_FMIN, "0.4");
        d.setText(IDC_SEA_PAIR_FMAX, "1.2");
        d.press(IDOK);
    });
    EXPECT_EQ(firstOrder, (std::vector<bool>{0, 0, 0, 0, 0}));
    EXPECT_EQ(secondOrder, (std::vector<bool>{1, 1, 1, 1, 1}));
    EXPECT_EQ(noSubharmonics, (std::vector<bool>{1, 1, 0, 1, 1}));
    ASSERT_EQ(result, IDOK);
    const SeaParameters& p = second->parameters;
    EXPECT_EQ(p.order, 2);
    EXPECT_TRUE(p.subharmonics);
    EXPECT_FALSE(p.superharmonics);
    EXPECT_TRUE(p.limitSubharmonics);
    EXPECT_EQ(p.pairFmin, 0.4);
    EXPECT_EQ(p.pairFmax, 1.2);

    // Shown again: the same choices; blank pairs are the generated band.
    SeaParameters shown = p;
    shown.pairFmax = 0;
    QString top;
    bool superShown = true;
    bool orderForSolitary = true;
    auto solitary = run(shown, [&](ScriptedDialog& d) {
        top = d.text(IDC_SEA_PAIR_FMAX);
        superShown = qobject_cast<QAbstractButton*>(d.control(IDC_SEA_SUPERHARMONICS))->isChecked();
        d.selectItem(IDC_SEA_WAVE, SOLITARY);
        orderForSolitary = enabled(d, IDC_SEA_ORDER) || enabled(d, IDC_SEA_SUBHARMONICS);
        d.setText(IDC_SEA_DURATION, "20");
        d.setText(IDC_SEA_SOLITARY, "0.1");
        d.press(IDOK);
    });
    EXPECT_EQ(top, "");
    EXPECT_FALSE(superShown);
    EXPECT_FALSE(orderForSolitary);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(solitary->parameters.order, 1);
    EXPECT_EQ(solitary->parameters.solitaryHeight, 0.1);
}

// A composite sea typed in: its swell from the second row, its wind sea
// from the main fields, Hm0 and Tp the totals; shown again, the same sea.
TEST_F(IrregularSeaDialogTest, ACompositeSeaIsTypedAndShownBack) {
    bool swellGammaForGaussian = true, sigmaForGaussian = false, gammaForPm = true;
    auto typed = run(shortSea(), [&](ScriptedDialog& d) {
        d.selectItem(IDC_SEA_SPECTRUM, int(SpectrumShape::Composite));
        d.selectItem(IDC_SEA_SWELL_SPECTRUM, 4); // Gaussian swell
        swellGammaForGaussian = enabled(d, IDC_SEA_SWELL_GAMMA);
        sigmaForGaussian = enabled(d, IDC_SEA_SIGMA);
        d.selectItem(IDC_SEA_SWELL_SPECTRUM, 0); // JONSWAP
        d.selectItem(IDC_SEA_WIND_SPECTRUM, 1);  // Pierson-Moskowitz
        gammaForPm = enabled(d, IDC_SEA_GAMMA);
        d.setText(IDC_SEA_SWELL_HM0, "0.04");
        d.setText(IDC_SEA_SWELL_TP, "3");
        d.setText(IDC_SEA_SWELL_GAMMA, "5");
        d.setText(IDC_SEA_HM0, "0.08");
        d.setText(IDC_SEA_TP, "1.4");
        d.press(IDOK);
    });
    EXPECT_FALSE(swellGammaForGaussian);
    EXPECT_TRUE(sigmaForGaussian);
    EXPECT_FALSE(gammaForPm);
    ASSERT_EQ(result, IDOK);
    const SeaParameters& p = typed->parameters;
    EXPECT_EQ(p.spectrum, SpectrumShape::Composite);
    ASSERT_EQ(p.parts.size(), 2u);
    EXPECT_EQ(p.parts[0].shape, SpectrumShape::Jonswap);
    EXPECT_EQ(p.parts[0].hm0, 0.04);
    EXPECT_EQ(p.parts[0].tp, 3);
    EXPECT_EQ(p.parts[0].gamma, 5);
    EXPECT_EQ(p.parts[1].shape, SpectrumShape::PiersonMoskowitz);
    EXPECT_EQ(p.parts[1].hm0, 0.08);
    EXPECT_EQ(p.parts[1].tp, 1.4);
    EXPECT_DOUBLE_EQ(p.hm0, std::hypot(0.04, 0.08));
    EXPECT_EQ(p.tp, 1.4); // the higher part's

    // Shown again with the parts the other way round: the longer Tp is the swell.
    SeaParameters again = p;
    std::swap(again.parts[0], again.parts[1]);
    QStringList shown;
    auto reread = run(again, [&](ScriptedDialog& d) {
        for (int id : {IDC_SEA_SPECTRUM, IDC_SEA_SWELL_SPECTRUM, IDC_SEA_WIND_SPECTRUM})
            shown << qobject_cast<QComboBox*>(d.control(id))->currentText();
        for (int id :
             {IDC_SEA_SWELL_HM0, IDC_SEA_SWELL_TP, IDC_SEA_SWELL_GAMMA, IDC_SEA_HM0, IDC_SEA_TP})
            shown << d.text(id);
        d.press(IDOK);
    });
    EXPECT_EQ(shown, (QStringList{"Composite (swell + wind sea)", "JONSWAP", "Pierson-Moskowitz",
                                  "0.04", "3", "5", "0.08", "1.4"}));
    ASSERT_EQ(result, IDOK);
    ASSERT_EQ(reread->parameters.parts.size(), 2u);
    EXPECT_EQ(reread->parameters.parts[0].hm0, 0.04);
    EXPECT_EQ(reread->parameters.parts[1].tp, 1.4);
    EXPECT_EQ(reread->parameters.hm0, p.hm0);
}

TEST_F(IrregularSeaDialogTest, OchiHubbleAndTorsethaugenSeasRoundTrip) {
    SeaParameters ochi = shortSea();
    ochi.spectrum = SpectrumShape::OchiHubble;
    ochi.ochiHubble = {{0.05, 0.08}, {3, 1.4}, {3, 1.5}};
    ochiHubbleTotals(ochi.ochiHubble, ochi.hm0, ochi.tp);
    QStringList shown;
    bool gammaForOchi = true;
    auto o = run(ochi, [&](ScriptedDialog& d) {
        gammaForOchi = enabled(d, IDC_SEA_GAMMA);
        for (int id : {IDC_SEA_SWELL_HM0, IDC_SEA_SWELL_TP, IDC_SEA_SWELL_LAMBDA, IDC_SEA_HM0,
                       IDC_SEA_TP, IDC_SEA_LAMBDA})
            shown << d.text(id);
        d.press(IDOK);
    });
    EXPECT_FALSE(gammaForOchi);
    EXPECT_EQ(shown, (QStringList{"0.05", "3", "3", "0.08", "1.4", "1.5"}));
    ASSERT_EQ(result, IDOK);
    const OchiHubbleParts& read = o->parameters.ochiHubble;
    for (int j = 0; j < 2; ++j) {
        EXPECT_EQ(read.height[j], ochi.ochiHubble.height[j]) << j;
        EXPECT_EQ(read.period[j], ochi.ochiHubble.period[j]) << j;
        EXPECT_EQ(read.lambda[j], ochi.ochiHubble.lambda[j]) << j;
    }
    EXPECT_EQ(o->parameters.hm0, ochi.hm0);
    EXPECT_EQ(o->parameters.tp, 1.4);

    SeaParameters torsethaugen = shortSea();
    torsethaugen.spectrum = SpectrumShape::Torsethaugen;
    torsethaugen.hm0 = 0.08;
    bool gammaForTorsethaugen = true;
    auto t = run(torsethaugen, [&](ScriptedDialog& d) {
        gammaForTorsethaugen = enabled(d, IDC_SEA_GAMMA);
        d.press(IDOK);
    });
    EXPECT_FALSE(gammaForTorsethaugen);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(t->parameters.spectrum, SpectrumShape::Torsethaugen);
    EXPECT_EQ(t->parameters.hm0, 0.08);
    ASSERT_NE(t->created, nullptr);
}

// Three columns of groups in a dialog that fits 1000 px high: no field or
// label over another, each inside the dialog and inside one group.
TEST_F(IrregularSeaDialogTest, NoControlOverlapsAnotherAndTheDialogFits) {
    std::vector<std::pair<QRect, QString>> controls;
    std::vector<QRect> groups;
    QSize size;
    run(shortSea(), [&](ScriptedDialog& d) {
        size = d.dialog()->size();
        for (QWidget* w : d.dialog()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (auto* g = qobject_cast<QGroupBox*>(w))
                groups.push_back(g->geometry());
            else if (w->objectName() != "fieldHint")
                controls.push_back({w->geometry(), w->objectName()});
        }
        d.press(IDCANCEL);
    });
    EXPECT_LE(size.height(), 1000);
    EXPECT_EQ(groups.size(), 7u);
    const QRect inside(QPoint(0, 0), size);
    for (size_t i = 0; i < controls.size(); ++i) {
        const QRect r = controls[i].first;
        EXPECT_TRUE(inside.contains(r)) << i;
        int holders = 0;
        for (const QRect& g : groups)
            holders += g.contains(r);
        // Only OK and Cancel stand outside the groups.
        EXPECT_LE(holders, 1) << i;
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(r.intersects(controls[j].first))
                << i << " " << j << " at " << r.x() << "," << r.y();
    }
    for (size_t i = 0; i < groups.size(); ++i)
        for (size_t j = i + 1; j < groups.size(); ++j)
            EXPECT_FALSE(groups[i].intersects(groups[j])) << i << " " << j;
}

TEST_F(IrregularSeaDialogTest, SlowestLongWaveIsTheSubharmonicsOwnField) {
    bool firstOrder = true, withoutSubharmonics = true;
    auto typed = run(shortSea(), [&](ScriptedDialog& d) {
        firstOrder = enabled(d, IDC_SEA_DIFFERENCE_FMIN);
        d.selectItem(IDC_SEA_ORDER, 1);
        d.setChecked(IDC_SEA_SUBHARMONICS, false);
        withoutSubharmonics = enabled(d, IDC_SEA_DIFFERENCE_FMIN);
        d.setChecked(IDC_SEA_SUBHARMONICS, true);
        d.setText(IDC_SEA_DIFFERENCE_FMIN, "0.01");
        d.press(IDOK);
    });
    EXPECT_FALSE(firstOrder);
    EXPECT_FALSE(withoutSubharmonics);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(typed->parameters.differenceFmin, 0.01);
    EXPECT_EQ(typed->created->report.differenceFmin, 0.01);
    // Blank is the default, and a first-order drive drops what was typed.
    SeaParameters shown = typed->parameters;
    auto blank = run(shown, [&](ScriptedDialog& d) {
        d.setText(IDC_SEA_DIFFERENCE_FMIN, "");
        d.press(IDOK);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(blank->parameters.differenceFmin, SEA_DEFAULT_DIFFERENCE_FMIN);
    auto first = run(shown, [&](ScriptedDialog& d) {
        d.selectItem(IDC_SEA_ORDER, 0);
        d.press(IDOK);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(first->parameters.order, 1);
    EXPECT_EQ(first->parameters.differenceFmin, SEA_DEFAULT_DIFFERENCE_FMIN);
}
