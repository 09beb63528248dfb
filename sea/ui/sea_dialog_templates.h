// The dialog "Irregular Sea": the target spectrum, the flume and paddle, and
// how the drive is synthesised.
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

void registerSeaDialogTemplates();
