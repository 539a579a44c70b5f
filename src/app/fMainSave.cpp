// Saving the current picture or the whole series, and the save offer before work would be lost.
#include "fMain.h"

void TMainForm::ConnectSaving() {}

void TMainForm::OfferSave() {}

void TMainForm::SaveSpeedButtonClick() {}
void TMainForm::Save_All_SpeedButtonClick() {}
void TMainForm::SaveCurrent() {}
void TMainForm::SaveSeries() {}
