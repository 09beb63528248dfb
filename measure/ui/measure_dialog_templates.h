// The measurement's dialogs: "Measure configuration" with its "Channel
// configuration", and "Statistic".
#pragma once

// "Measure configuration"
constexpr int DIALOG_MEASURE_CONFIGURATION = 137;
constexpr int IDC_MEASURE_NAME = 138;
constexpr int IDC_MEASURE_RATE = 140;
constexpr int IDC_MEASURE_CHANNELS = 139;
constexpr int IDC_MEASURE_LENGTH = 141;
constexpr int IDC_MEASURE_DATE = 142;
constexpr int IDC_MEASURE_EDIT = 1040;
constexpr int IDC_MEASURE_LIST = 1015;

// "Channel configuration"
constexpr int DIALOG_CHANNEL_CONFIGURATION = 451;
constexpr int IDC_CHANNEL_NAME = 138;
constexpr int IDC_CHANNEL_UNIT = 276;
constexpr int IDC_CHANNEL_COEFFICIENT = 1048;
constexpr int IDC_CHANNEL_CONSTANT = 1049;
constexpr int IDC_CHANNEL_LEVELS = 1050;    // the elevations of a calibration record, in order
constexpr int IDC_CHANNEL_CALIBRATE = 1051; // "Calibrate...": the two fields from a record

// "Statistic": its fields are those of the statistics report's texts.
constexpr int DIALOG_STATISTIC = 164;

void registerMeasureDialogTemplates();
