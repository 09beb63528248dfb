// The dialog "Irregular Sea": the wave and its order, the target spectrum (a
// two-part sea's swell too), the flume and paddle, and how the drive is
// synthesised.
#pragma once

constexpr int DIALOG_IRREGULAR_SEA = 471;
constexpr int IDC_SEA_SPECTRUM = 4701;
constexpr int IDC_SEA_TABLE = 4702;
constexpr int IDC_SEA_BROWSE = 4703;
constexpr int IDC_SEA_HM0 = 4704;
constexpr int IDC_SEA_TP = 4705;
constexpr int IDC_SEA_GAMMA = 4706;
constexpr int IDC_SEA_DEPTH = 4707;
constexpr int IDC_SEA_PADDLE = 4708;
constexpr int IDC_SEA_HINGE = 4709;
constexpr int IDC_SEA_DURATION = 4710;
constexpr int IDC_SEA_TIME_STEP = 4711;
constexpr int IDC_SEA_SEED = 4712;
constexpr int IDC_SEA_METHOD = 4713;
constexpr int IDC_SEA_FMIN = 4714;
constexpr int IDC_SEA_FMAX = 4715;
constexpr int IDC_SEA_RAMP = 4716;
constexpr int IDC_SEA_MAX_STROKE = 4717;
constexpr int IDC_SEA_MAX_VELOCITY = 4718;
constexpr int IDC_SEA_WAVE = 4719;
constexpr int IDC_SEA_FOCUS_TIME = 4720;
constexpr int IDC_SEA_FOCUS_DISTANCE = 4721;
constexpr int IDC_SEA_CREST = 4722;
constexpr int IDC_SEA_SOLITARY = 4723;
constexpr int IDC_SEA_SIGMA = 4724;
constexpr int IDC_SEA_ORDER = 4725;
constexpr int IDC_SEA_SUBHARMONICS = 4726;
constexpr int IDC_SEA_SUPERHARMONICS = 4727;
constexpr int IDC_SEA_LIMIT_SUBHARMONICS = 4728;
constexpr int IDC_SEA_PAIR_FMIN = 4729;
constexpr int IDC_SEA_PAIR_FMAX = 4730;
constexpr int IDC_SEA_WAVE_HEIGHT = 4731;
constexpr int IDC_SEA_WAVE_PERIOD = 4732;
constexpr int IDC_SEA_SECOND_HEIGHT = 4733;
constexpr int IDC_SEA_SECOND_PERIOD = 4734;
constexpr int IDC_SEA_SWELL_SPECTRUM = 4735;
constexpr int IDC_SEA_SWELL_HM0 = 4736;
constexpr int IDC_SEA_SWELL_TP = 4737;
constexpr int IDC_SEA_SWELL_GAMMA = 4738;
constexpr int IDC_SEA_WIND_SPECTRUM = 4739;
constexpr int IDC_SEA_LAMBDA = 4740;
constexpr int IDC_SEA_SWELL_LAMBDA = 4741;
constexpr int IDC_SEA_DIFFERENCE_FMIN = 4742;

void registerSeaDialogTemplates();
