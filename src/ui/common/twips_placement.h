#pragma once

class QWidget;

// Places a control by the classic layout's twips, at its window's dots per inch.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);
