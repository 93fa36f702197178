// The dialogs as pictures.
#pragma once
