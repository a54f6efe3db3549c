// Tessel.ini beside the executable: the raw image of the settings record.
// Main thread only. Results: 0 success, -1 failure.
#pragma once

int LoadSettings();
int SaveSettings();
int WriteSettingsFile();
