#pragma once

class QWidget;

// Places a control by the delivered layout's twips, at its window's dots per inch.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

// Moves a window of the given size to the middle of its screen, as the editors open.
void centreOnScreen(QWidget* window, int width, int height);
