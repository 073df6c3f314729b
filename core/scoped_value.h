#pragma once
// Gives a variable a value for the life of a scope and puts the old value
// back when the scope ends, also when an exception leaves it:
//
//   TScopedValue<int> limit(client.ReadTimeout, 2000);
//   client.ReadBody(response);  // under 2000 ms; the old limit returns after

#include <utility>

template <typename T>
class TScopedValue {
 public:
  TScopedValue(T& target, T value) : variable(target), saved(std::move(target)) {
    variable = std::move(value);
  }
  ~TScopedValue() { variable = std::move(saved); }
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;

 private:
  T& variable;
  T saved;
};
