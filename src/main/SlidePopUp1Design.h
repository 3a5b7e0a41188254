#pragma once

class TSlidePopUp;

// Gives a popup component the look the main window designs for its SlidePopUp1: 200 × 120
// windows with red text on the stock-alert background picture, six seconds fully shown,
// sliding and stacking. The main window then only sets Text before each Show().
void applySlidePopUp1Design(TSlidePopUp &popup);
