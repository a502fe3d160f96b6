// What several views share: the last inventory, the sign-in state and the
// device binding. Views subscribe to the keys they show.

export function createStore() {
  const values = {};
  const listeners = new Map();
  return {
    get: (key) => values[key],
    set(key, value) {
      values[key] = value;
      for (const listener of listeners.get(key) ?? []) listener(value);
    },
    watch(key, listener) {
      if (!listeners.has(key)) listeners.set(key, new Set());
      listeners.get(key).add(listener);
      if (key in values) listener(values[key]);
    },
  };
}
