import { h } from './ui.js';

export const EMAIL_PATTERN = /^[^\s@]+@[^\s@]+\.[^\s@]+$/;

// A labelled input with its own error line, checked before anything is sent.
export function field(id, label, attrs = {}) {
  const error = h('p', { class: 'field-error', id: `${id}-error`, 'aria-live': 'polite' });
  const input = h('input', { id, name: id, 'aria-describedby': `${id}-error`, ...attrs });
  const node = h('div', { class: 'field' }, h('label', { for: id, text: label }), input, error);
  return {
    node,
    input,
    get value() {
      return input.value;
    },
    set value(v) {
      input.value = v;
    },
    setError(message) {
      error.textContent = message;
      if (message) input.setAttribute('aria-invalid', 'true');
      else input.removeAttribute('aria-invalid');
    },
  };
}

// Runs each [field, check] pair; check returns an error text or ''. Focuses
// the first field in error and tells whether all passed.
export function validate(rules) {
  let first = null;
  for (const [f, check] of rules) {
    const message = check(f.value);
    f.setError(message);
    if (message && !first) first = f;
  }
  first?.input.focus();
  return first === null;
}

export const checks = {
  email: (v) => (v.trim() === '' ? 'Informe o e-mail.' : EMAIL_PATTERN.test(v.trim()) ? '' : 'E-mail inválido.'),
  required: (what) => (v) => (v === '' ? `Informe ${what}.` : ''),
  minLength: (n) => (v) => (v.length < n ? `A senha precisa de pelo menos ${n} caracteres.` : ''),
};
