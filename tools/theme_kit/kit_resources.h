#pragma once
#define IDR_SAMPLE_COVER 300
