// The buildings, trees and street furniture of the sample town.
#pragma once

class Random;
class SampleScene;
struct TownPlan;

void AddTown(SampleScene& scene, const TownPlan& plan, Random& random);
