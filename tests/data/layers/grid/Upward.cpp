#include "app/ViewController.h"
